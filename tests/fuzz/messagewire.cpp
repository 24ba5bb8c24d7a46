// The window-message frames: any bytes decode or are refused; a decoded frame encodes to the same bytes
// (the response's unused word aside), and a request never asks for more data than a frame may carry.
#include "fuzz/fuzzcheck.h"

#include "platform/messagewire.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    if (size >= wire::kRequestSize) {
        wire::TRequest request;
        if (wire::Decode(bytes, request)) {
            FuzzCheck(request.dataSize <= wire::kMaxData, "a request's data is bounded");
            char out[wire::kRequestSize];
            wire::Encode(request, out);
            FuzzCheck(std::memcmp(out, bytes, sizeof out) == 0, "a request encodes as it was decoded");
        }
    }
    if (size >= wire::kResponseSize) {
        wire::TResponse response;
        if (wire::Decode(bytes, response)) {
            char out[wire::kResponseSize];
            wire::Encode(response, out);
            FuzzCheck(std::memcmp(out, bytes, 12) == 0 && std::memcmp(out + 16, bytes + 16, 8) == 0,
                      "a response encodes as it was decoded");
        }
    }
    return 0;
}
