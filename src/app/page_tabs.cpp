#include "app/page_tabs.h"

#include "pages/communication_page.h"
#include "pages/counter_page.h"
#include "pages/function_page.h"
#include "pages/gps_page.h"
#include "pages/input_output_page.h"
#include "pages/main_page.h"
#include "pages/motion_sensor_page.h"
#include "pages/security_page.h"
#include "pages/serial_port_page.h"
#include "pages/stopwatch_page.h"
#include "pages/timer_page.h"

namespace qn470 {
namespace {

template <typename Page>
PageTab tab(const char* label) {
    return PageTab{QString::fromUtf8(label), [](const PageContext& context, QWidget* parent) {
                       return static_cast<CPage*>(new Page(context, parent));
                   }};
}

}  // namespace

std::vector<PageTab> pageTabs() {
    return {
        tab<CMainPage>("Main"),
        tab<CGPSPage>("GPS"),
        tab<CCommunicationPage>("Communication"),
        tab<CSecurityPage>("Security"),
        tab<CReportPage1>("Function"),
        tab<CReportPage2>("Timer"),
        tab<CStopwatch>("Stopwatch"),
        tab<CCounter>("Counter"),
        tab<CDigital>("Input / Output"),
        tab<CSensor>("Motion Sensor"),
        tab<CSerialPort>("Serial Port"),
    };
}

}  // namespace qn470
