#include "low/Low.h"
#  include <high/High.h>
int low() { return 1; }
