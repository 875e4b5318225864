// The rehearsal driver as a generic Qt plugin: maple-writer.exe loads it from
// generic\ beside it when QT_QPA_GENERIC_PLUGINS names "maplerehearsal".
#include <QGenericPlugin>

#include "RehearsalDriver.h"

class RehearsalPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "RehearsalPlugin.json")
  public:
    QObject* create(const QString& key, const QString& /*parameters*/) override {
        return key.compare(QStringLiteral("maplerehearsal"), Qt::CaseInsensitive) == 0
                   ? new RehearsalDriver
                   : nullptr;
    }
};

#include "RehearsalPlugin.moc"
