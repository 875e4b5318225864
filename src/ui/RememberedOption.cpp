#include "RememberedOption.h"

#include <QCheckBox>
#include <string>

#include "SettingsStore.h"

void RememberOption(QCheckBox* box, const char* setting) {
    box->setChecked(GetProgramSetting(setting) == "1");
    QObject::connect(box, &QCheckBox::toggled, box, [key = std::string(setting)](bool ticked) {
        SaveProgramSetting(key, ticked ? "1" : "0");
    });
}
