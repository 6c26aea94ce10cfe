#include <QtCore/QString>
#include "low/Low.h"
int low() {
    return 1;
}
