#include "high/High.h"
#include "low/Low.h"
int high() {
    return low() + 1;
}
