// SPDX-License-Identifier: Apache-2.0
#include "app/page_tabs.h"

#include <QCoreApplication>

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
    return PageTab{QCoreApplication::translate("qn470::PageTabs", label),
                   [](const PageContext& context, QWidget* parent) {
                       return static_cast<CPage*>(new Page(context, parent));
                   }};
}

}  // namespace

std::vector<PageTab> pageTabs() {
    return {
        tab<CMainPage>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Main")),
        tab<CGPSPage>(QT_TRANSLATE_NOOP("qn470::PageTabs", "GPS")),
        tab<CCommunicationPage>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Communication")),
        tab<CSecurityPage>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Security")),
        tab<CReportPage1>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Function")),
        tab<CReportPage2>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Timer")),
        tab<CStopwatch>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Stopwatch")),
        tab<CCounter>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Counter")),
        tab<CDigital>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Input / Output")),
        tab<CSensor>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Motion Sensor")),
        tab<CSerialPort>(QT_TRANSLATE_NOOP("qn470::PageTabs", "Serial Port")),
    };
}

}  // namespace qn470
