#include "pages/serial_port_page.h"

namespace qn470 {

CSerialPort::CSerialPort(const PageContext& context, QWidget* parent)
    : CPage(context, kSerialPortPage, parent) {
    build(PageSpec{{}, {}, true});
}

}  // namespace qn470
