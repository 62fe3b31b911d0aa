#include "settings/optionsmodel.h"

namespace morvane {

OptionsModel::OptionsModel(QObject* parent) : QObject(parent) {}

QVariant OptionsModel::get(ctl::Control name, Aspect aspect) const {
    return m_state[static_cast<int>(aspect)].value(name);
}

void OptionsModel::set(ctl::Control name, Aspect aspect, const QVariant& value) {
    if (!name)
        return;
    QHash<ctl::Control, QVariant>& store = m_state[static_cast<int>(aspect)];
    auto it = store.find(name);
    if (it != store.end() && *it == value)
        return;
    store.insert(name, value);
    emit changed(name, aspect);
}

void OptionsModel::copyStateFrom(const OptionsModel& other) {
    for (int aspect = 0; aspect < kAspectCount; ++aspect)
        m_state[aspect] = other.m_state[aspect];
}

bool OptionsModel::has(ctl::Control name, Aspect aspect) const {
    return m_state[static_cast<int>(aspect)].contains(name);
}

int OptionsModel::checkValue(ctl::Control name) const {
    return get(name, Aspect::Value).toInt();
}

void OptionsModel::setCheckValue(ctl::Control name, int value) {
    set(name, Aspect::Value, value);
}

int OptionsModel::index(ctl::Control name) const {
    return get(name, Aspect::Value).toInt();
}

void OptionsModel::setIndex(ctl::Control name, int index) {
    set(name, Aspect::Value, index);
}

QString OptionsModel::text(ctl::Control name) const {
    return get(name, Aspect::Value).toString();
}

void OptionsModel::setText(ctl::Control name, const QString& text) {
    set(name, Aspect::Value, text);
}

QStringList OptionsModel::items(ctl::Control name) const {
    return get(name, Aspect::Items).toStringList();
}

void OptionsModel::setItems(ctl::Control name, const QStringList& items) {
    set(name, Aspect::Items, items);
}

bool OptionsModel::isEnabled(ctl::Control name) const {
    const QVariant v = get(name, Aspect::Enabled);
    return v.isValid() ? v.toBool() : true;
}

void OptionsModel::setEnabled(ctl::Control name, bool enabled) {
    const auto hold = m_disabledHolds.find(name);
    if (hold != m_disabledHolds.end()) {
        hold->wanted = enabled;
        return;
    }
    set(name, Aspect::Enabled, enabled);
}

void OptionsModel::holdDisabled(ctl::Control name) {
    if (!name)
        return;
    DisabledHold& hold = m_disabledHolds[name];
    if (hold.count++ == 0)
        hold.wanted = isEnabled(name);
    set(name, Aspect::Enabled, false);
}

void OptionsModel::releaseDisabled(ctl::Control name) {
    const auto hold = m_disabledHolds.find(name);
    if (hold == m_disabledHolds.end())
        return;
    if (--hold->count > 0)
        return;
    const bool wanted = hold->wanted;
    m_disabledHolds.erase(hold);
    set(name, Aspect::Enabled, wanted);
}

bool OptionsModel::isVisible(ctl::Control name) const {
    const QVariant v = get(name, Aspect::Visible);
    return v.isValid() ? v.toBool() : true;
}

void OptionsModel::setVisible(ctl::Control name, bool visible) {
    set(name, Aspect::Visible, visible);
}

QString OptionsModel::caption(ctl::Control name) const {
    return get(name, Aspect::Caption).toString();
}

void OptionsModel::setCaption(ctl::Control name, const QString& caption) {
    set(name, Aspect::Caption, caption);
}

bool OptionsModel::isBold(ctl::Control name) const {
    return get(name, Aspect::Bold).toBool();
}

void OptionsModel::setBold(ctl::Control name, bool bold) {
    set(name, Aspect::Bold, bold);
}

QString OptionsModel::tag(ctl::Control name) const {
    return get(name, Aspect::Tag).toString();
}

void OptionsModel::setTag(ctl::Control name, const QString& tag) {
    set(name, Aspect::Tag, tag);
}

} // namespace morvane
