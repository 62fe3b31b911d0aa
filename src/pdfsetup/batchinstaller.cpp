#include "pdfsetup/batchinstaller.h"

#include "pdfsetup/batchpatches.h"
#include "pipeline/appcontext.h"
#include "platform/atomicfile.h"
#include "platform/prompter.h"
#include "settings/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

QString L(const char* text) {
    return QString::fromLatin1(text);
}

const char kSection[] = "PDF";

std::optional<QByteArray> readFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString() + L(": ") + path;
        return std::nullopt;
    }
    return file.readAll();
}

// One entry of the check table: its message, and whether it fails.
struct Check {
    bool fails;
    const char* text;
    const char* title;
};

bool endsWithLib(const QString& gsLib) {
    const QString lower = gsLib.toLower();
    return lower.endsWith(L("\\lib")) || lower.endsWith(L("/lib"));
}

int optionIndex(const QString& value, int options) {
    bool ok = false;
    const int index = value.toInt(&ok);
    return ok && index >= 0 && index < options ? index : -1;
}

bool patchPs2pdf(Prompter& prompter, const QString& programDir, const InstallerForm& form) {
    const QString ps2pdf = fileInAnyCase(form.gsLib, L("ps2pdfxx.bat"));
    const QString backup = programDir + L("/ps2pdfxx.bak");
    QString error;
    if (ps2pdf.isEmpty()) {
        prompter.tell(L("Unable to find ") + form.gsLib + L("/ps2pdfxx.bat"),
                      L("Error Setting Up ps2pdfxx.bat"), Icon::Critical);
        return false;
    }
    // Only the first set-up backs up: a later one would otherwise replace the
    // original with an already patched copy.
    bool done = QFileInfo::exists(backup) ||
                copyFileAtomically(ps2pdf, backup, Durability::WaitForDisk, &error);
    if (done) {
        const std::optional<QByteArray> text = readFile(ps2pdf, &error);
        done =
            text && replaceFileAtomically(ps2pdf, patchedPs2pdf(*text, ghostscriptRoot(form.gsLib)),
                                          Durability::WaitForDisk, &error);
    }
    if (!done)
        prompter.tell(error, L("Error Setting Up ps2pdfxx.bat"), Icon::Critical);
    return done;
}

bool rewritePdfmakegstc(Prompter& prompter, const QString& programDir, const InstallerForm& form) {
    const QString path = programDir + L("/pdfmakegstc.bat");
    const ChainChoices choices{.gsLib = form.gsLib,
                               .swpDir = form.swpDir,
                               .ntFamily = form.version == 1,
                               .multiLingual = form.format == 0,
                               .acrobat = form.acrobat,
                               .printer = form.printer ? form.printer->name : QString()};
    QString error;
    std::optional<QByteArray> text = readFile(path, &error);
    if (text)
        text = rewrittenPdfmakegstc(*text, choices, &error);
    const bool done = text && replaceFileAtomically(path, *text, Durability::WaitForDisk, &error);
    if (!done)
        prompter.tell(error, L("Error Setting Up pdfmakegstc.bat"), Icon::Critical);
    return done;
}

} // namespace

QString fileInAnyCase(const QString& dir, const QString& name) {
    if (dir.isEmpty())
        return {};
    const QString exact = dir + QLatin1Char('/') + name;
    if (QFileInfo(exact).isFile())
        return exact;
    for (const QString& entry : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir + QLatin1Char('/') + entry;
    }
    return {};
}

std::optional<Complaint> installerComplaint(const InstallerForm& form, const QString& programDir) {
    const bool noPrinter = !form.printer.has_value();
    const Check checks[] = {
        {!QFileInfo::exists(programDir + L("/pdfmakegstc.bat")),
         "Can't find pdfmakegstc.bat in Morvane directory", "Missing File"},
        {form.version < 0, "Please select Windows version", "Missing Detail"},
        {form.format < 0, "Please select SWP format", "Missing Detail"},
        {form.acrobat < 0, "Please select Acrobat Reader compatibility", "Missing Detail"},
        // Without a printer there is no port to look at: the next check
        // says what is missing.
        {!noPrinter && form.printer->port.toUpper() != L("FILE:"),
         "Printer must be set to Print to FILE:", "Wrong Printer Setting"},
        {noPrinter,
         "Please select postscript printer or use Add Printer Wizard to install this printer",
         "Missing Detail"},
        {form.gsLib.isEmpty(), "Please select Ghostscript lib directory", "Missing Detail"},
        {fileInAnyCase(form.gsLib, L("ps2pdfxx.bat")).isEmpty(),
         "Please select Ghostscript lib directory", "Missing Detail"},
        {!endsWithLib(form.gsLib), "Ghostscript's lib directory must end with \\lib",
         "Wrong Directory"},
        {fileInAnyCase(form.swpDir, L("initex32.exe")).isEmpty(),
         "Please select SWP's TrueTeX directory", "Wrong Directory"},
        {form.swpDir.isEmpty(), "Please select SWP's TrueTeX directory", "Missing Detail"},
    };
    std::optional<Complaint> last;
    for (const Check& check : checks) {
        if (check.fails)
            last = Complaint{L(check.text), L(check.title)};
    }
    return last;
}

bool installBatchFiles(AppContext& ctx, const InstallerForm& form) {
    Prompter& prompter = *ctx.seams.prompter;
    // pdfmakegstc.bat is only rewritten once ps2pdfxx.bat is set up.
    if (!patchPs2pdf(prompter, ctx.programDir, form) ||
        !rewritePdfmakegstc(prompter, ctx.programDir, form))
        return false;
    // The files are set up either way; the settings only preselect the
    // dialog's choices next time.
    writePdfSettings(ctx.programDir + L("/Morvane.ini"), form);
    prompter.tell(L("Batch files setup successfully."), L("Batch File Installation"),
                  Icon::Information);
    return true;
}

PdfSettings readPdfSettings(const QString& iniFile) {
    const ProfileFile profile = ProfileFile::load(iniFile);
    const QString section = L(kSection);
    PdfSettings settings;
    settings.hasSwp = profile.contains(section, L("SWP"));
    settings.swp = profile.read(section, L("SWP"), QString());
    settings.format = optionIndex(profile.read(section, L("Format"), QString()), 2);
    settings.acrobat = optionIndex(profile.read(section, L("Acrobat"), QString()), 3);
    settings.printer = profile.read(section, L("Printer"), QString());
    return settings;
}

bool writePdfSettings(const QString& iniFile, const InstallerForm& form) {
    ProfileFile profile = ProfileFile::load(iniFile);
    const QString section = L(kSection);
    return profile.writeText(section, L("SWP"), form.swpDir) &&
           profile.writeText(section, L("Format"), QString::number(form.format)) &&
           profile.writeText(section, L("Acrobat"), QString::number(form.acrobat)) &&
           profile.writeText(section, L("Printer"),
                             form.printer ? form.printer->name : QString()) &&
           profile.save();
}

} // namespace morvane
