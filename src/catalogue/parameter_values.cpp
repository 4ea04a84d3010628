#include "catalogue/parameter_values.h"
