#pragma once

#include "settings/inikeys.h"
#include "settings/programlocations.h"

#include <QString>
#include <QStringList>
#include <span>

namespace morvane {

// What the pandoc route makes (`cmbPandocFormat`), in the list's order: a web
// page with MathML, an e-book, and the two office documents.
enum class PandocFormat { Html5, Epub3, Docx, Odt };
QStringList pandocFormatEntries();

// The words the settings file keeps for them, which are pandoc's own writer
// names ("html5", "epub3", "docx", "odt"), and back; an unknown word gives
// the web page.
QString pandocFormatWord(PandocFormat format);
PandocFormat pandocFormatOf(const QString& word);
// The choice in the list, kept in range.
PandocFormat pandocFormatAt(int index);
// The result's extension: ".html", ".epub", ".docx", ".odt".
QString pandocExtension(PandocFormat format);

// The [Pandoc] section of Morvane.ini. Its keys are written only once they
// differ from their defaults, so that files of before the route stay as they
// were; an empty SaveTo is the home folder.
std::span<const IniKey> pandocIniKeys();
// pandoc's row of Program Locations.
std::span<const LocationRow> pandocLocationRows();

} // namespace morvane
