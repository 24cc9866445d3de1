#pragma once

// The Serial Port tab: the tracker's own serial port for data transmission.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CSerialPort : public CPage {
    Q_OBJECT

public:
    explicit CSerialPort(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
