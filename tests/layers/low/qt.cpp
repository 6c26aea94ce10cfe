#include "low/Low.h"
#include <QtCore/QString>
int low() { return 1; }
