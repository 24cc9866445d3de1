// SPDX-License-Identifier: Apache-2.0
#include "pages/serial_port_page.h"

#include <QComboBox>
#include <string>

#include "config/parameter_value.h"
#include "pages/choice_fields.h"

namespace qn470 {
namespace {

enum Group { kTransmission };

constexpr GroupSpec kGroups[] = {{"serial port data transmission", 0}};

// Data bits and parity are kept as the item's index.
constexpr ListItem kDataBits[] = {{"8", 0}, {"9", 1}};
constexpr ListItem kParity[] = {{"None", 0}, {"Even", 1}, {"Odd", 2}};
// Stop bits are kept as text; afterLoad and afterStore map it.
constexpr ListItem kStopBitItems[] = {{"1", 1}, {"2", 2}};

FieldBinding byPage(FieldBinding f) {
    f.conversion = Conversion::None;
    return f;
}

const FieldBinding kFields[] = {
    numberField(1229, "S0", kTransmission, Exchange::Unsigned),
    listField(1226, "S1", kTransmission, kDataBits),
    listField(1039, "S2", kTransmission, kParity),
    byPage(listField(CSerialPort::kStopBits, "S3", kTransmission, kStopBitItems)),
    checkField(1230, "S4", kTransmission),
    mediaField(1227, "S5", kTransmission),
    actionField(1228, "S6", kTransmission),
};

// The list item a stored stop-bits text selects: the tracker also reports half a stop bit,
// which the port runs as one. Any other text ("1.5" too) has no item.
int stopBitsIndex(const std::string& text) {
    if (text == "0.5" || text == "1") {
        return 0;
    }
    return text == "2" ? 1 : -1;
}

}  // namespace

CSerialPort::CSerialPort(const PageContext& context, QWidget* parent)
    : CPage(context, kSerialPortPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

void CSerialPort::afterLoad() {
    binder().list(kStopBits)->setCurrentIndex(stopBitsIndex(readText(parameters(), "S3")));
}

void CSerialPort::afterStore(const StoreResult&) {
    // Stored even after a refused field, as the table's lists are; a list showing no item keeps
    // the text the record had.
    // The item's value, not its shown text, which a translation may change.
    QComboBox* list = binder().list(kStopBits);
    if (list->currentIndex() >= 0) {
        writeText(parameters(), "S3", std::to_string(list->currentData().toLongLong()));
    }
}

}  // namespace qn470
