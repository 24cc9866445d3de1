// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Serial Port tab: how the tracker's own serial port sends data (baud rate, data bits,
// parity, stop bits, report media and action). It has nothing to do with the PC's port.

#include "pages/page.h"

namespace qn470 {

class CSerialPort : public CPage {
    Q_OBJECT

public:
    enum : int { kStopBits = 1040 };

    explicit CSerialPort(const PageContext& context, QWidget* parent = nullptr);

protected:
    void afterLoad() override;
    void afterStore(const StoreResult& stored) override;
};

}  // namespace qn470
