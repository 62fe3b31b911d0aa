#include "settings/controlnames.h"

#include <deque>

namespace morvane::ctl {

namespace {

#define MORVANE_CTL_CONTROL(id, kind) Entry{#id, Kind::kind},
#define MORVANE_CTL_STATE(id, name) Entry{name, Kind::State},
#define MORVANE_CTL_ARRAY(id, kind, first, count) Entry{#id, Kind::kind, first, count},
constexpr Entry kEntries[] = {
    MORVANE_CONTROLS(MORVANE_CTL_CONTROL, MORVANE_CTL_STATE, MORVANE_CTL_ARRAY)};
#undef MORVANE_CTL_CONTROL
#undef MORVANE_CTL_STATE
#undef MORVANE_CTL_ARRAY

static_assert(std::size(kEntries) == std::size_t(detail::Id::Count));

// Controls of routes outside the built-in table, numbered after it. A deque
// keeps each row (and the name it points to) in place as more are added.
struct Registered {
    QByteArray name;
    Entry entry;
};
std::deque<Registered>& registered() {
    static std::deque<Registered> rows;
    return rows;
}

// The row of a control's identifier number.
const Entry& entryOf(std::uint16_t id) {
    return id < std::size(kEntries) ? kEntries[id] : registered()[id - std::size(kEntries)].entry;
}

} // namespace

std::span<const Entry> allControls() {
    return kEntries;
}

QString Control::name() const {
    if (!isValid())
        return {};
    const QString base = QString::fromLatin1(entryOf(m_id).name);
    return m_element < 0 ? base : base + QLatin1Char('_') + QString::number(m_element);
}

Kind Control::kind() const {
    if (!isValid())
        return Kind::State;
    const Kind kind = entryOf(m_id).kind;
    return kind == Kind::OptionGroup && m_element >= 0 ? Kind::OptionButton : kind;
}

std::optional<Control> find(QStringView name) {
    // An element's name is its array's name, "_" and its number; a number
    // written with a sign or leading zero names no element.
    const qsizetype us = name.lastIndexOf(QLatin1Char('_'));
    const QStringView number = us < 0 ? QStringView() : name.mid(us + 1);
    bool isNumber = !number.isEmpty() && (number == u"0" || number.front() != u'0');
    for (const QChar c : number)
        isNumber = isNumber && c.isDigit() && c.unicode() < 128;
    bool inRange = false;
    const int element = isNumber ? number.toInt(&inRange) : -1;
    isNumber = isNumber && inRange;

    const std::size_t rows = std::size(kEntries) + registered().size();
    for (std::size_t i = 0; i < rows; ++i) {
        const Entry& e = entryOf(std::uint16_t(i));
        const QLatin1StringView entryName(e.name);
        const auto id = detail::Id(i);
        if (name == entryName && (!e.isArray() || e.kind == Kind::OptionGroup))
            return Control(id, -1);
        if (e.isArray() && isNumber && name.left(us) == entryName) {
            const Control c = ControlArray(id, e.first, e.count)(element);
            if (c)
                return c;
        }
    }
    return std::nullopt;
}

Control registerControl(const char* name, Kind kind) {
    if (const std::optional<Control> known = find(QString::fromLatin1(name)))
        return *known;
    std::deque<Registered>& rows = registered();
    const auto id = detail::Id(std::size(kEntries) + rows.size());
    rows.push_back({QByteArray(name), {}});
    rows.back().entry = Entry{rows.back().name.constData(), kind};
    return Control(id, -1);
}

} // namespace morvane::ctl
