#pragma once
// The libcups calls the program makes itself (Qt makes the others). The
// library is opened the first time a queue is asked about rather than
// linked, so a process that never lists the system's printers (one that
// prints only to the PDF printer, as the print benchmark does) loads neither
// it nor the dozen libraries it brings (TLS, Kerberos, Avahi; 3.3 MiB).
// Listing the printers through Qt loads it anyway, as the program's start-up
// does. The PPD calls are marked deprecated, but a queue's printer
// description is still the only place that names its input slots as its
// filters accept them.

#include <cups/cups.h>
#include <cups/ppd.h>

namespace belvorine {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
struct CupsCalls {
    decltype(&cupsGetPPD) getPPD = nullptr;
    decltype(&ppdOpenFile) ppdOpen = nullptr;
    decltype(&ppdFindOption) ppdFind = nullptr;
    decltype(&ppdClose) ppdFree = nullptr;
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsCopyDestInfo) copyDestInfo = nullptr;
    decltype(&cupsFindDestSupported) findDestSupported = nullptr;
    decltype(&cupsLocalizeDestValue) localizeDestValue = nullptr;
    decltype(&cupsFreeDestInfo) freeDestInfo = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsGetJobs2) getJobs = nullptr;
    decltype(&cupsFreeJobs) freeJobs = nullptr;
    decltype(&ippGetCount) count = nullptr;
    decltype(&ippGetString) string = nullptr;
};
#pragma GCC diagnostic pop

// The calls, or null where libcups is not installed.
const CupsCalls* cups();

}  // namespace belvorine
