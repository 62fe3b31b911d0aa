#include "settings/helplinks.h"

#include "settings/optionsmodel.h"
#include "settings/profilefile.h"

namespace morvane {

namespace {

const QString kLinks = QStringLiteral("Links");

// The addresses the links open until the user changes them.
struct DefaultLink {
    ctl::Control label;
    const char* address;
};
const DefaultLink kDefaults[] = {
    {ctl::Label10, "mailto:morvane@example.org"},
    {ctl::Label11, "https://morvane.example.org/"},
    {ctl::Label19, "https://morvane.example.org/tutorials/hevea.html"},
    {ctl::Label20, "https://morvane.example.org/tutorials/hevea-swp.html"},
    {ctl::Label21, "https://morvane.example.org/tutorials/tex4ht.html"},
    {ctl::Label22, "https://morvane.example.org/tutorials/tex4ht-swp.html"},
    {ctl::Label31, "https://morvane.example.org/tutorials/latex2html.html"},
    {ctl::Label34, "https://morvane.example.org/tutorials/pdf-swp.html"},
};

} // namespace

QString linkKey(int entry, int form) {
    return QStringLiteral("link(%1,%2)").arg(entry).arg(form);
}

QList<ctl::Control> linkTable(int form) {
    if (form != kMainWindowLinks)
        return {};
    return {ctl::Label34, ctl::Label19, ctl::Label20, ctl::Label21, ctl::Label22, ctl::Label31};
}

int linkEntry(int form, ctl::Control label) {
    return int(linkTable(form).indexOf(label));
}

void setDefaultLinks(OptionsModel& model) {
    for (const DefaultLink& link : kDefaults) {
        if (model.tag(link.label).isEmpty())
            model.setTag(link.label, QString::fromLatin1(link.address));
    }
}

void Readlinks(const ProfileFile& profile, int form, OptionsModel& model) {
    const QList<ctl::Control> labels = linkTable(form);
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

bool ChangeURL(const QString& iniFile, int form, ctl::Control label, const QString& answer,
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
