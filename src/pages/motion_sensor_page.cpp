#include "pages/motion_sensor_page.h"

namespace qn470 {

CSensor::CSensor(const PageContext& context, QWidget* parent)
    : CPage(context, kMotionSensorPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
