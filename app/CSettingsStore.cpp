#include "CSettingsStore.h"

#include <QByteArray>
#include <QSettings>

velkaro::dialog::WindowSettings CSettingsStore::load() {
    const QSettings settings(QSettings::UserScope, QStringLiteral("Velkaro"),
                             QStringLiteral("Velkaro"));
    velkaro::dialog::SettingsValues values;
    for (const QString &key : settings.childKeys()) {
        values[key.toStdString()] = settings.value(key).toByteArray().toStdString();
    }
    return velkaro::dialog::fromValues(values);
}

void CSettingsStore::save(const velkaro::dialog::WindowSettings &settings) {
    QSettings store(QSettings::UserScope, QStringLiteral("Velkaro"), QStringLiteral("Velkaro"));
    for (const auto &[key, value] : velkaro::dialog::toValues(settings)) {
        store.setValue(QString::fromStdString(key),
                       QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    }
    store.sync();
}
