#include <vector>
#include "low/Low.h"
int low() {
    return 1;
}
