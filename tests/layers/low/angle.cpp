#include <high/High.h>
#include "low/Low.h"
int low() {
    return 1;
}
