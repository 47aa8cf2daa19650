#pragma once

// While TZ is unset the C library looks at /etc/localtime again at every
// local-time conversion, and the RAR library converts each entry's times
// three times: three file-system calls per entry, about a tenth of the cost
// of a small file. Called first in main, before any thread exists, this
// names that same file in TZ, so the zone stays the system's and the
// look-ups are gone. A TZ the user set is kept as it is.
void PinLocalTimeZone();

// Whether PinLocalTimeZone set TZ: programs this one starts get the
// environment as the user gave it.
bool LocalTimeZonePinned();
