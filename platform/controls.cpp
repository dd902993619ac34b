#include "platform/controls.h"

namespace agelark {

QString arrayMember(const QString& arrayName, int index) {
    return arrayName + QLatin1Char('_') + QString::number(index);
}

}  // namespace agelark
