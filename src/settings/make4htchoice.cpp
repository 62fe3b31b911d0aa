#include "settings/make4htchoice.h"

#include <QtGlobal>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

QStringList make4htFormatEntries() {
    return {S("html5"), S("xhtml"), S("odt"), S("E-book (EPUB 3)")};
}

QStringList make4htEngineEntries() {
    return {S("LaTeX"), S("LuaLaTeX"), S("XeLaTeX")};
}

QString make4htFormatWord(Make4htFormat format) {
    switch (format) {
    case Make4htFormat::Xhtml:
        return S("xhtml");
    case Make4htFormat::Odt:
        return S("odt");
    case Make4htFormat::Epub3:
        return S("epub3");
    case Make4htFormat::Html5:
        break;
    }
    return S("html5");
}

Make4htFormat make4htFormatOf(const QString& word) {
    const QString w = word.trimmed().toLower();
    for (const Make4htFormat format :
         {Make4htFormat::Xhtml, Make4htFormat::Odt, Make4htFormat::Epub3})
        if (w == make4htFormatWord(format))
            return format;
    return Make4htFormat::Html5;
}

QString make4htDocumentExtension(Make4htFormat format) {
    if (format == Make4htFormat::Odt)
        return S(".odt");
    if (format == Make4htFormat::Epub3)
        return S(".epub");
    return {};
}

QString make4htEngineWord(Make4htEngine engine) {
    switch (engine) {
    case Make4htEngine::LuaLatex:
        return S("lualatex");
    case Make4htEngine::XeLatex:
        return S("xelatex");
    case Make4htEngine::Latex:
        break;
    }
    return S("latex");
}

Make4htEngine make4htEngineOf(const QString& word) {
    const QString w = word.trimmed().toLower();
    if (w == S("lualatex"))
        return Make4htEngine::LuaLatex;
    if (w == S("xelatex"))
        return Make4htEngine::XeLatex;
    return Make4htEngine::Latex;
}

Make4htFormat make4htFormatAt(int index) {
    return Make4htFormat(qBound(0, index, 3));
}

Make4htEngine make4htEngineAt(int index) {
    return Make4htEngine(qBound(0, index, 2));
}

} // namespace morvane
