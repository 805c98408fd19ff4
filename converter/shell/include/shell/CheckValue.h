#pragma once

#include <QCheckBox>

namespace tess {

// A check box's value as the options store it: 0 clear, 1 ticked, 2 greyed.
inline int checkValue(const QCheckBox& box) {
    switch (box.checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
    }
    return 0;
}

}  // namespace tess
