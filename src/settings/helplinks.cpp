#include "settings/helplinks.h"

#include "settings/optionsmodel.h"
#include "settings/profilefile.h"

namespace morvane {

namespace {

const QString kLinks = QStringLiteral("Links");

// The addresses the links open until the user changes them.
struct DefaultLink {
    const char* label;
    const char* address;
};
const DefaultLink kDefaults[] = {
    {"Label10", "mailto:morvane@example.org"},
    {"Label11", "https://morvane.example.org/"},
    {"Label19", "https://morvane.example.org/tutorials/hevea.html"},
    {"Label20", "https://morvane.example.org/tutorials/hevea-swp.html"},
    {"Label21", "https://morvane.example.org/tutorials/tex4ht.html"},
    {"Label22", "https://morvane.example.org/tutorials/tex4ht-swp.html"},
    {"Label31", "https://morvane.example.org/tutorials/latex2html.html"},
    {"Label34", "https://morvane.example.org/tutorials/pdf-swp.html"},
};

} // namespace

QString linkKey(int entry, int form) {
    return QStringLiteral("link(%1,%2)").arg(entry).arg(form);
}

QStringList linkTable(int form) {
    if (form != kMainWindowLinks)
        return {};
    return {QStringLiteral("Label34"), QStringLiteral("Label19"), QStringLiteral("Label20"),
            QStringLiteral("Label21"), QStringLiteral("Label22"), QStringLiteral("Label31")};
}

int linkEntry(int form, const QString& label) {
    return int(linkTable(form).indexOf(label));
}

void setDefaultLinks(OptionsModel& model) {
    for (const DefaultLink& link : kDefaults) {
        const QString label = QString::fromLatin1(link.label);
        if (model.tag(label).isEmpty())
            model.setTag(label, QString::fromLatin1(link.address));
    }
}

void Readlinks(const ProfileFile& profile, int form, OptionsModel& model) {
    const QStringList labels = linkTable(form);
    for (int entry = 0; entry < labels.size(); ++entry) {
        const QString key = linkKey(entry, form);
        if (!profile.contains(kLinks, key))
            continue;
        const QString address = profile.read(kLinks, key, QString());
        // A key left empty by hand would make the link open nothing.
        if (!address.isEmpty())
            model.setTag(labels.at(entry), address);
    }
}

QString changeLinkPrompt(const QString& caption) {
    return QStringLiteral("Type in the new link (URL) for") + QStringLiteral("\n\n") +
           QLatin1Char('\'') + caption + QLatin1Char('\'');
}

bool ChangeURL(const QString& iniFile, int form, const QString& label, const QString& answer,
               OptionsModel& model) {
    // Blanks around a pasted address would be cut off by the next read.
    const QString address = answer.trimmed();
    if (address.isEmpty())
        return true;
    model.setTag(label, address);
    const int entry = linkEntry(form, label);
    if (entry < 0)
        return true;
    // A longer value would come back cut short after the next start.
    if (address.size() > ProfileFile::ValueLimit)
        return false;
    ProfileFile profile = ProfileFile::load(iniFile);
    return profile.writeText(kLinks, linkKey(entry, form), address) && profile.save();
}

} // namespace morvane
