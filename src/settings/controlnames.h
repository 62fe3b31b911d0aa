#pragma once

#include <QHashFunctions>
#include <QMetaType>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace morvane::ctl {

// What kind of widget a control of the main window is, so that a test can
// hold the name list against the Designer forms.
enum class Kind : std::uint8_t {
    CheckBox,     // QCheckBox: value 0/1
    OptionGroup,  // the value of a group of QRadioButtons named NAME_0, NAME_1, ...
    OptionButton, // one QRadioButton of a group
    ListCombo,    // a QComboBox that is not editable: value = selected index
    TextCombo,    // an editable QComboBox: value = its text
    LineEdit,     // QLineEdit
    TextBox,      // QPlainTextEdit
    ListBox,      // QListWidget
    TreeList,     // QTreeWidget (the error list: only shown or hidden)
    Label,        // QLabel
    Button,       // QPushButton
    TabBar,       // QTabBar: value = tab number from 1
    Frame,        // a container: QWidget, QFrame or QGroupBox
    State,        // no widget: state the logic keeps in the model under a name
};

// Every control name the program reads or writes in the options model, spelt
// once. C(identifier, kind) is a control named like its identifier;
// S(identifier, "name") is model state without a widget; A(identifier, kind,
// first, count) is an array of `count` controls named identifier_first,
// identifier_(first+1), ...; a count of kPerRoute leaves the number to the
// route table (one element per route tab).
inline constexpr int kPerRoute = -1;

#define MORVANE_CONTROLS(C, S, A)                                                                  \
    /* The tab strip and the frame shared by the routes' tabs. */                                  \
    C(tbstrip, TabBar)                                                                             \
    A(fraContainer, Frame, 1, kPerRoute)                                                           \
    C(fraHelp, Frame)                                                                              \
    C(Frame2, Frame)                                                                               \
    C(cmbTeX, TextCombo)                                                                           \
    C(cmdConvert, Button)                                                                          \
    C(cmdLog, Button)                                                                              \
    C(cmdShow, Button)                                                                             \
    C(cmdEditTex, Button)                                                                          \
    C(chkIE, CheckBox)                                                                             \
    C(chkClose, CheckBox)                                                                          \
    A(optIE, OptionGroup, 0, 2)                                                                    \
    C(chkWatch, CheckBox)                                                                          \
    C(cmdCompare, Button)                                                                          \
    C(lblPath, Label)                                                                              \
    C(lstProcesses, ListBox)                                                                       \
    C(lstErrors, TreeList)                                                                         \
    C(lblErrorCount, Label)                                                                        \
    /* HeVeA. */                                                                                   \
    A(optOutput, OptionGroup, 0, 3)                                                                \
    C(chkFrench, CheckBox)                                                                         \
    C(cmbHeveaVerbose, ListCombo)                                                                  \
    C(chkStyle, CheckBox)                                                                          \
    C(List1, ListBox)                                                                              \
    C(lblListCover, Label)                                                                         \
    C(cmdUp, Button)                                                                               \
    C(cmdDown, Button)                                                                             \
    C(Label17, Label)                                                                              \
    C(Label18, Label)                                                                              \
    C(txtExclude, LineEdit)                                                                        \
    C(cmdSaveConfig, Button)                                                                       \
    C(cmdLoadConfig, Button)                                                                       \
    C(chkFix, CheckBox)                                                                            \
    C(Frame12, Frame)                                                                              \
    C(chkVersion, CheckBox)                                                                        \
    A(optCode, OptionGroup, 0, 2)                                                                  \
    C(chkEsponja, CheckBox)                                                                        \
    C(chkHacha, CheckBox)                                                                          \
    C(chkPrepareHevea, CheckBox)                                                                   \
    S(File1, "File1") /* the HeVeA configuration files found */                                    \
    /* TtH. */                                                                                     \
    C(chkItalics, CheckBox)                                                                        \
    C(chkNumber, CheckBox)                                                                         \
    C(chkInline, CheckBox)                                                                         \
    C(chkRevise, CheckBox)                                                                         \
    C(chkPrepareTth, CheckBox)                                                                     \
    /* TeX4ht. */                                                                                  \
    C(lblSaveTo, Label)                                                                            \
    C(chkImages, CheckBox)                                                                         \
    C(txtImages, LineEdit)                                                                         \
    C(chkHtrun, CheckBox)                                                                          \
    C(chkSWP, CheckBox)                                                                            \
    C(lblPasses, Label)                                                                            \
    C(cmbPasses, ListCombo)                                                                        \
    C(chkMake4ht, CheckBox)                                                                        \
    C(lblMake4htFormat, Label)                                                                     \
    C(cmbMake4htFormat, ListCombo)                                                                 \
    C(lblMake4htEngine, Label)                                                                     \
    C(cmbMake4htEngine, ListCombo)                                                                 \
    C(chkTex4htPause, CheckBox)                                                                    \
    C(chkPrepareTex4ht, CheckBox)                                                                  \
    C(cmdAdvanced, Button)                                                                         \
    C(lblManual, Label)                                                                            \
    C(txt3, TextBox)                                                                               \
    C(cmbFrags, ListCombo)                                                                         \
    C(Label5, Label)                                                                               \
    C(Label35, Label)                                                                              \
    S(tex4htArgs, "tex4htArgs")                      /* the six pieces of the TeX4ht command */    \
    S(txt3Locked, "txt3Locked")                      /* "no" while txt3 is edited by hand */       \
    S(cmdAdvancedReturning, "cmdAdvanced.returning") /* the advanced dialog's OK runs */           \
    /* LaTeX2HTML. */                                                                              \
    C(lblSavelatex2, Label)                                                                        \
    A(optGifPng, OptionGroup, 0, 3)                                                                \
    C(chkImageDir, CheckBox)                                                                       \
    C(chkNavigation, CheckBox)                                                                     \
    C(cmbSplit, ListCombo)                                                                         \
    C(cmbVerbosity, ListCombo)                                                                     \
    C(cmbAbout, TextCombo)                                                                         \
    C(cmbAddress, TextCombo)                                                                       \
    C(cmbTitle, TextCombo)                                                                         \
    C(chkAntiVirus, CheckBox)                                                                      \
    C(chkPrepareL2h, CheckBox)                                                                     \
    C(cmdInit, Button)                                                                             \
    C(Label25, Label)                                                                              \
    /* DVI and PDF. */                                                                             \
    A(chkTexify, CheckBox, 0, 2)                                                                   \
    A(chkReport, CheckBox, 0, 2)                                                                   \
    C(Label6, Label)                                                                               \
    C(chkSWPGS, CheckBox)                                                                          \
    C(Label15, Label)                                                                              \
    C(cmbpdfPasses, ListCombo)                                                                     \
    C(Label7, Label)                                                                               \
    C(Label34, Label)                                                                              \
    C(cmdBat, Button)                                                                              \
    /* pandoc. */                                                                                  \
    C(lblPandocSaveTo, Label)                                                                      \
    C(cmdPandocBrowse, Button)                                                                     \
    C(cmbPandocFormat, ListCombo)                                                                  \
    C(chkPandocStandalone, CheckBox)                                                               \
    C(chkPandocToc, CheckBox)                                                                      \
    C(chkPandocNumber, CheckBox)                                                                   \
    C(chkPandocCiteproc, CheckBox)                                                                 \
    C(txtPandocCsl, LineEdit)                                                                      \
    C(cmdPandocCsl, Button)                                                                        \
    /* Help. */                                                                                    \
    C(chkMulti, CheckBox)                                                                          \
    C(chkSettings, CheckBox)                                                                       \
    C(chkSave, CheckBox)                                                                           \
    C(chkWarning, CheckBox)                                                                        \
    C(cmbTabs, ListCombo)                                                                          \
    C(Label10, Label)                                                                              \
    C(Label11, Label)                                                                              \
    C(Label19, Label)                                                                              \
    C(Label20, Label)                                                                              \
    C(Label21, Label)                                                                              \
    C(Label22, Label)                                                                              \
    C(Label31, Label)                                                                              \
    C(lblVersion, Label)                                                                           \
    C(lblDateTime, Label)                                                                          \
    C(lblDummy, Label)                                                                             \
    /* LaTeXML tab. */                                                                             \
    C(lblLatexmlSaveTo, Label)                                                                     \
    C(cmdLatexmlBrowse, Button)                                                                    \
    C(cmbLatexmlFormat, ListCombo)                                                                 \
    C(cmbLatexmlSplit, ListCombo)                                                                  \
    A(optLatexmlMath, OptionGroup, 0, 2)                                                           \
    C(chkLatexmlBibliography, CheckBox)

// One row of the table: a control, a piece of state, or an array.
struct Entry {
    const char* name;
    Kind kind;
    int first = 0; // arrays: the number of the first element
    int count = 0; // arrays: the number of elements (kPerRoute: open); 0 for a single control
    bool isArray() const { return count != 0; }
};

// Every row, in the order of MORVANE_CONTROLS.
std::span<const Entry> allControls();

namespace detail {
enum class Id : std::uint16_t {
#define MORVANE_CTL_ID(id, ...) id,
    MORVANE_CONTROLS(MORVANE_CTL_ID, MORVANE_CTL_ID, MORVANE_CTL_ID)
#undef MORVANE_CTL_ID
        Count
};
} // namespace detail

// A control's name as a checked value: one of the constants below, an
// element of an array, or nothing (the default, and what an element outside
// its array gives). The options model takes nothing else, so a misspelt name
// does not compile.
class Control {
public:
    constexpr Control() = default;
    // So that tables can write nullptr for "no control".
    constexpr Control(std::nullptr_t) {}

    constexpr bool isValid() const { return m_id != kNone; }
    constexpr explicit operator bool() const { return isValid(); }
    // The widget's object name ("chkHacha", "optOutput_2"); empty for nothing.
    QString name() const;
    Kind kind() const;
    // For an element of an array its number, else -1.
    constexpr int element() const { return m_element; }
    // For an option button, its group (an element, its array as a whole);
    // a single control is its own group.
    constexpr Control group() const {
        return isValid() ? Control(detail::Id(m_id), -1) : Control();
    }

    constexpr bool operator==(const Control&) const = default;
    friend size_t qHash(Control c, size_t seed = 0) noexcept {
        return qHash((quint32(c.m_id) << 16) | quint16(c.m_element), seed);
    }

    // Internal: the constants and arrays below make controls.
    constexpr Control(detail::Id id, int element)
        : m_id(std::uint16_t(id)), m_element(std::int16_t(element)) {}

private:
    static constexpr std::uint16_t kNone = 0xffff;
    std::uint16_t m_id = kNone;
    std::int16_t m_element = -1;
};

// An array of controls: `ctl::chkTexify(1)` is the element chkTexify_1. An
// element outside the array is nothing.
class ControlArray {
public:
    constexpr ControlArray(detail::Id id, int first, int count)
        : m_id(id), m_first(first), m_count(count) {}
    constexpr Control operator()(int element) const {
        const bool inside = element >= m_first && element <= 0x7fff &&
                            (m_count == kPerRoute || element < m_first + m_count);
        return inside ? Control(m_id, element) : Control();
    }
    constexpr int first() const { return m_first; }
    constexpr int count() const { return m_count; }

protected:
    detail::Id m_id;
    int m_first;
    int m_count;
};

// A group of option buttons: `ctl::optOutput` is the group (its value is the
// selected button's number), `ctl::optOutput(2)` the button optOutput_2.
class OptionGroup : public ControlArray {
public:
    using ControlArray::ControlArray;
    constexpr operator Control() const { return Control(m_id, -1); }
};

namespace detail {
template <Kind K> struct ArrayOf { using type = ControlArray; };
template <> struct ArrayOf<Kind::OptionGroup> { using type = OptionGroup; };
} // namespace detail

#define MORVANE_CTL_CONTROL(id, kind) inline constexpr Control id{detail::Id::id, -1};
#define MORVANE_CTL_STATE(id, name) inline constexpr Control id{detail::Id::id, -1};
#define MORVANE_CTL_ARRAY(id, kind, first, count)                                                  \
    inline constexpr detail::ArrayOf<Kind::kind>::type id{detail::Id::id, first, count};
MORVANE_CONTROLS(MORVANE_CTL_CONTROL, MORVANE_CTL_STATE, MORVANE_CTL_ARRAY)
#undef MORVANE_CTL_CONTROL
#undef MORVANE_CTL_STATE
#undef MORVANE_CTL_ARRAY

// The control with this name ("chkHacha", "optOutput" for the group,
// "optOutput_2" for a button); nothing for a name that is none of them.
// For names that come from data: a widget's object name, a stored table.
std::optional<Control> find(QStringView name);

// A control that belongs to a route outside the built-in table (one a test
// adds): its form's widget of this name is bound like any other. Registering
// a name again gives the same control; a built-in name gives the built-in.
Control registerControl(const char* name, Kind kind);

} // namespace morvane::ctl

Q_DECLARE_METATYPE(morvane::ctl::Control)
