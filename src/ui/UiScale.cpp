#include "ui/UiScale.h"

#include "core/SharedSettings.h"

double CurrentUiScale() {
    const SharedSettings* settings = GetSharedSettings();
    return settings != nullptr ? settings->uiScale : 1.0;
}

void SetCurrentUiScale(double scale) {
    if (SharedSettings* settings = GetSharedSettings()) settings->uiScale = scale;
}
