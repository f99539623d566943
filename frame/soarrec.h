// SOARRec, the outside flight recorder, imported by name. No arguments; the
// results are not used.
#pragma once

extern "C" {
void SOARRec_on();
void SOARRec_off();
}
