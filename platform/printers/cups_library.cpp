#include "platform/printers/cups_library.h"

#include <dlfcn.h>

namespace belvorine {
namespace {

template <typename Function>
bool resolve(void* library, Function& function, const char* name) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace

const CupsCalls* cups() {
    static const CupsCalls* const calls = []() -> const CupsCalls* {
        void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            return nullptr;
        }
        static CupsCalls loaded;
        CupsCalls& c = loaded;
        const bool complete = resolve(library, c.getPPD, "cupsGetPPD") &&
                              resolve(library, c.ppdOpen, "ppdOpenFile") &&
                              resolve(library, c.ppdFind, "ppdFindOption") &&
                              resolve(library, c.ppdFree, "ppdClose") &&
                              resolve(library, c.getNamedDest, "cupsGetNamedDest") &&
                              resolve(library, c.copyDestInfo, "cupsCopyDestInfo") &&
                              resolve(library, c.findDestSupported, "cupsFindDestSupported") &&
                              resolve(library, c.localizeDestValue, "cupsLocalizeDestValue") &&
                              resolve(library, c.freeDestInfo, "cupsFreeDestInfo") &&
                              resolve(library, c.freeDests, "cupsFreeDests") &&
                              resolve(library, c.getOption, "cupsGetOption") &&
                              resolve(library, c.getJobs, "cupsGetJobs2") &&
                              resolve(library, c.freeJobs, "cupsFreeJobs") &&
                              resolve(library, c.count, "ippGetCount") &&
                              resolve(library, c.string, "ippGetString");
        return complete ? &loaded : nullptr;
    }();
    return calls;
}

}  // namespace belvorine
