// Request-record code shared by both transports (in progress).
#include "fsuipc/records.h"
