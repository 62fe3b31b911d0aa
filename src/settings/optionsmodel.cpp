#include "settings/optionsmodel.h"

namespace morvane {

OptionsModel::OptionsModel(QObject* parent) : QObject(parent) {}

QVariant OptionsModel::get(const QString& name, Aspect aspect) const {
    return m_state[static_cast<int>(aspect)].value(name);
}

void OptionsModel::set(const QString& name, Aspect aspect, const QVariant& value) {
    QHash<QString, QVariant>& store = m_state[static_cast<int>(aspect)];
    auto it = store.find(name);
    if (it != store.end() && *it == value)
        return;
    store.insert(name, value);
    emit changed(name, aspect);
}

void OptionsModel::copyStateFrom(const OptionsModel& other) {
    for (int aspect = 0; aspect < 7; ++aspect)
        m_state[aspect] = other.m_state[aspect];
}

bool OptionsModel::has(const QString& name, Aspect aspect) const {
    return m_state[static_cast<int>(aspect)].contains(name);
}

int OptionsModel::checkValue(const QString& name) const {
    return get(name, Aspect::Value).toInt();
}

void OptionsModel::setCheckValue(const QString& name, int value) {
    set(name, Aspect::Value, value);
}

int OptionsModel::index(const QString& name) const {
    return get(name, Aspect::Value).toInt();
}

void OptionsModel::setIndex(const QString& name, int index) {
    set(name, Aspect::Value, index);
}

QString OptionsModel::text(const QString& name) const {
    return get(name, Aspect::Value).toString();
}

void OptionsModel::setText(const QString& name, const QString& text) {
    set(name, Aspect::Value, text);
}

QStringList OptionsModel::items(const QString& name) const {
    return get(name, Aspect::Items).toStringList();
}

void OptionsModel::setItems(const QString& name, const QStringList& items) {
    set(name, Aspect::Items, items);
}

bool OptionsModel::isEnabled(const QString& name) const {
    const QVariant v = get(name, Aspect::Enabled);
    return v.isValid() ? v.toBool() : true;
}

void OptionsModel::setEnabled(const QString& name, bool enabled) {
    const auto hold = m_disabledHolds.find(name);
    if (hold != m_disabledHolds.end()) {
        hold->wanted = enabled;
        return;
    }
    set(name, Aspect::Enabled, enabled);
}

void OptionsModel::holdDisabled(const QString& name) {
    DisabledHold& hold = m_disabledHolds[name];
    if (hold.count++ == 0)
        hold.wanted = isEnabled(name);
    set(name, Aspect::Enabled, false);
}

void OptionsModel::releaseDisabled(const QString& name) {
    const auto hold = m_disabledHolds.find(name);
    if (hold == m_disabledHolds.end())
        return;
    if (--hold->count > 0)
        return;
    const bool wanted = hold->wanted;
    m_disabledHolds.erase(hold);
    set(name, Aspect::Enabled, wanted);
}

bool OptionsModel::isVisible(const QString& name) const {
    const QVariant v = get(name, Aspect::Visible);
    return v.isValid() ? v.toBool() : true;
}

void OptionsModel::setVisible(const QString& name, bool visible) {
    set(name, Aspect::Visible, visible);
}

QString OptionsModel::caption(const QString& name) const {
    return get(name, Aspect::Caption).toString();
}

void OptionsModel::setCaption(const QString& name, const QString& caption) {
    set(name, Aspect::Caption, caption);
}

bool OptionsModel::isBold(const QString& name) const {
    return get(name, Aspect::Bold).toBool();
}

void OptionsModel::setBold(const QString& name, bool bold) {
    set(name, Aspect::Bold, bold);
}

QString OptionsModel::tag(const QString& name) const {
    return get(name, Aspect::Tag).toString();
}

void OptionsModel::setTag(const QString& name, const QString& tag) {
    set(name, Aspect::Tag, tag);
}

QString OptionsModel::arrayElement(const QString& name, int index) {
    return name + QLatin1Char('_') + QString::number(index);
}

} // namespace morvane
