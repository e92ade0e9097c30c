#include "skipped_syncs.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace qor::bench {

bool skipSyncs = false;

namespace {

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace
}  // namespace qor::bench

extern "C" {

int fdatasync(int descriptor) {
    using Call = int (*)(int);
    static const Call call = qor::bench::next<Call>("fdatasync");
    return qor::bench::skipSyncs ? 0 : call(descriptor);
}

int fsync(int descriptor) {
    using Call = int (*)(int);
    static const Call call = qor::bench::next<Call>("fsync");
    return qor::bench::skipSyncs ? 0 : call(descriptor);
}

#ifdef __linux__
int sync_file_range(int descriptor, __off64_t offset, __off64_t bytes, unsigned int flags) {
    using Call = int (*)(int, __off64_t, __off64_t, unsigned int);
    static const Call call = qor::bench::next<Call>("sync_file_range");
    return qor::bench::skipSyncs ? 0 : call(descriptor, offset, bytes, flags);
}
#endif

}  // extern "C"
