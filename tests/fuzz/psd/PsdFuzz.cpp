// Fuzzes the layered-image decoder: the first byte picks the load tag, the rest
// is the document. Loads run under a 64 MiB budget of decoded memory.

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "Psd/PsdInternal.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The format's tokens; libFuzzer reads its flags after this call.
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], "-dict=", 6) == 0) return 0;
    static char dict[] = "-dict=" PSD_FUZZ_DICT;
    static char* args[256];
    int n = *argc < 254 ? *argc : 254;
    for (int i = 0; i < n; ++i) args[i] = (*argv)[i];
    args[n++] = dict;
    args[n] = nullptr;
    *argc = n;
    *argv = args;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    FILE* file = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "r");
    psdr_image* image = nullptr;
    if (psdr_load_file(file, &image, data[0] % 6, size_t(64) << 20) == PSDR_OK) psdr_free(image);
    return 0;
}
