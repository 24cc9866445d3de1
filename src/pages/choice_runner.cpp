// SPDX-License-Identifier: Apache-2.0
#include "pages/choice_runner.h"

#include <QDialog>

namespace qn470 {

int ModalChoiceRunner::run(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace qn470
