#pragma once

#include "settings/controlnames.h"

#include <QList>
#include <QString>

namespace morvane {

class OptionsModel;
class ProfileFile;

// Link labels keep the address they open in their tag. The changeable ones
// are numbered per window ("form"): the number of the window and the label's
// entry in that window's table make the key of its stored address in section
// `Links` of Morvane.ini.

// The main window's form number.
constexpr int kMainWindowLinks = 0;

// "link(" + entry + "," + form + ")", for example link(4,0).
QString linkKey(int entry, int form);

// The changeable links of a window, by entry number; empty for a window
// without any.
QList<ctl::Control> linkTable(int form);

// The entry of `label` in the window's table; -1 when it is not changeable.
int linkEntry(int form, ctl::Control label);

// Gives every link label of the main window its built-in address, unless it
// already has one.
void setDefaultLinks(OptionsModel& model);

// Readlinks: each stored address of the window replaces its label's tag.
void Readlinks(const ProfileFile& profile, int form, OptionsModel& model);

// The question of ChangeURL for the label with this caption.
QString changeLinkPrompt(const QString& caption);

// ChangeURL once the user has answered: an empty answer changes nothing;
// otherwise the label's tag becomes the answer and, for a changeable label,
// the answer is stored in iniFile at once. False when the address could not
// be stored (an unwritable file, or an address too long for a profile value);
// the label then opens it until the program ends.
bool ChangeURL(const QString& iniFile, int form, ctl::Control label, const QString& answer,
               OptionsModel& model);

} // namespace morvane
