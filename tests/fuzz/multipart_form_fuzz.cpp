// Builds forms from arbitrary names and values (split at NUL bytes) and checks
// that the body sent always has the announced length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/MultipartForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MultipartForm form;
    std::string name;
    std::string value;
    bool inValue = false;
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c != '\0') {
            (inValue ? value : name) += c;
            continue;
        }
        if (inValue) {
            form.AddField(name, value);
            name.clear();
            value.clear();
        }
        inValue = !inValue;
    }
    for (int round = 0; round < 2; ++round) {
        form.PrepareForm();
        uint64_t sent = 0;
        std::string piece;
        while (form.NextPiece(piece))
            sent += piece.size();
        if (sent != form.TotalLength()) __builtin_trap();
    }
    return 0;
}
