// Placeholders of the two controls' factories until the controls are built:
// each makes nothing. The controls' own sources replace this file.
#include "controls/windowClasses.h"

QWidget* newGeoPositionControl(QWidget*, std::uint32_t, int) {
    return nullptr;
}

QWidget* newDateTimeControl(QWidget*, std::uint32_t, int) {
    return nullptr;
}
