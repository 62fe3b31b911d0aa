#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace morvane {

// The output formats of the advanced options dialog, in the order of its
// `optFormat` buttons.
enum class Tex4htFormat { Html40, Html32, TextBased, BitmapMaths, MathMl, MathMlMozilla };

enum class Tex4htFont { Default, Symbol, Unicode };

// Picture formats of the "Glyphs" and "Images" frames.
enum class PictureFormat { None, Gif, Png, Jpg };

// Every TeX4ht option the advanced options dialog offers, as plain values.
struct Tex4htOptions {
    bool useConfig = false; // chkConfig
    QString configName = QStringLiteral("myconfig");
    Tex4htFormat format = Tex4htFormat::Html40;

    bool htrun = false;      // chkHtrun2
    bool usePackage = false; // chkUsepackage
    bool otherBatch = false; // ChkOther
    QString batchName;       // txtBatch
    bool altSwitch = false;  // chkSwitches
    QString switchText;      // txtSwitches

    Tex4htFont font = Tex4htFont::Default;
    PictureFormat glyphs = PictureFormat::None;
    PictureFormat images = PictureFormat::None;
    bool noPictures = false; // chkPics

    bool info = false;       // chkInfo
    bool htm = false;        // chkhtm
    int sectionDepth = 0;    // list index of cmbSections
    bool tocLinks = false;   // chkSections
    bool nextLinks = false;  // chkNext
    bool frames = false;     // chkUseFrames
    bool mathPlayer = false; // chkMathPlayer
    bool xht = false;        // chkXht
    bool footnote = false;   // chkFootnote
    // chkPic 0-5: array, eqnarray, displaylines, tabbing, tabular, align.
    std::array<bool, 6> picturesFor{};
    bool mouseover = false; // chkOverlib

    // The main window's images folder (`txtImages` while `chkImages` is
    // ticked); empty when the images stay beside the pages.
    QString imagesFolder;

    bool isXhtmlFormat() const { return format >= Tex4htFormat::BitmapMaths; }
};

// What the options compose to: the four strings the dialog keeps and the
// TeX4ht argument list elements they fill.
struct Tex4htComposition {
    QString tex4htArgument;   // quoted tex4ht options (fonts, glyphs, -p), or empty
    QString packageOptions;   // the package option list
    QString programAndSwitch; // "htlatex", "ht latex", "htrun -xh", a batch name
    QString mode;             // "usepackage" or empty

    // Elements 1, 2, 5 and 6 of the argument list.
    QString program;
    QString htrunSwitch;
    QString commandLineOptions;
    QString furtherArguments;

    // The line for the working copy in "usepackage" mode, else empty.
    QString packageLine() const;
    // tex4ht argument "$" package options "*" program and switch "^" mode.
    QString storedString() const;
    // The dialog's left status panel: the program and the options as they
    // reach the command line.
    QString commandLine() const;
};

Tex4htComposition composeTex4htOptions(const Tex4htOptions& options);

// Pieces 1-4 of a stored option string, read by position in lower case; every
// piece is empty when the string holds no "$". With htrun on, piece 1 loses the
// quoted format names that htrun's switch replaces.
QString storedOptionPart(const QString& stored, int part, bool htrunOn);

// The options a stored string was composed from (the reverse of
// composeTex4htOptions for every token it holds). `defaults` gives the
// values the string cannot hold (the images folder, the batch name's case).
Tex4htOptions optionsFromStored(const QString& stored, const Tex4htOptions& defaults);

// The caption of the dialog's `cmdConfig` for a format.
QString configButtonCaption(Tex4htFormat format);

// The configuration name that goes with a format: the program's own
// qvconfig names follow the format, a user's own name stays.
QString configNameForFormat(const QString& current, Tex4htFormat format);

// The `Label3` help text for the program boxes of the dialog and the main
// window's `chkSWP`; nothing when the text stays as it was.
struct HelpTextInputs {
    bool htrun = false;
    bool swp = false;
    bool otherBatch = false;
    bool usePackage = false;
};
std::optional<QString> advancedHelpText(const HelpTextInputs& inputs);
QString initialAdvancedHelpText();

} // namespace morvane
