#include "ui/errorlist.h"

#include "pipeline/appcontext.h"
#include "pipeline/openlogentry.h"
#include "settings/controlnames.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>

namespace morvane {

namespace {

const ctl::Control kList = ctl::lstErrors;
const ctl::Control kCount = ctl::lblErrorCount;

} // namespace

ErrorList::ErrorList(AppContext& ctx, QTreeWidget* list, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_list(list) {
    m_list->setHeaderLabels(
        {QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Message")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setMaximumHeight(m_list->fontMetrics().height() * 8);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { open(item); });
    // The entries belong to one file on one route: another file or tab
    // empties the list rather than showing them against it.
    connect(ctx.model, &OptionsModel::changed, this,
            [this](ctl::Control name, OptionsModel::Aspect aspect) {
                if (aspect == OptionsModel::Aspect::Value && !m_entries.isEmpty() &&
                    (name == ctl::cmbTeX || name == ctl::tbstrip))
                    show({});
            });
    show({});
}

void ErrorList::show(const LogEntries& entries) {
    m_entries = entries;
    m_list->clear();
    // The style's icons come from the icon theme, and the columns fitted to
    // their contents are measured: both only once there are entries.
    QIcon error, warning;
    if (!entries.isEmpty()) {
        error = m_list->style()->standardIcon(QStyle::SP_MessageBoxCritical);
        warning = m_list->style()->standardIcon(QStyle::SP_MessageBoxWarning);
        m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    }
    QList<QTreeWidgetItem*> items;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const LogEntry& entry = entries[i];
        auto* item = new QTreeWidgetItem({QFileInfo(entry.file).fileName(),
                                          entry.line > 0 ? QString::number(entry.line) : QString(),
                                          entry.message});
        item->setIcon(0, entry.severity == LogEntry::Severity::Error ? error : warning);
        item->setToolTip(0, QDir::toNativeSeparators(entry.file));
        item->setToolTip(2, entry.message);
        item->setData(0, Qt::UserRole, QVariant::fromValue(i));
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_ctx.model->setVisible(kList, !entries.isEmpty());
    m_ctx.model->setCaption(kCount, entryCountText(entries));
    m_ctx.model->setVisible(kCount, !entries.isEmpty());
}

void ErrorList::open(QTreeWidgetItem* item) {
    const qsizetype i = item->data(0, Qt::UserRole).value<qsizetype>();
    if (i >= 0 && i < m_entries.size())
        openLogEntry(m_ctx, m_entries[i]);
}

} // namespace morvane
