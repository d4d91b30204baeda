// Placeholder for the native file reader until it arrives.
#include "formats/native_file.h"

namespace zentorix {

NativeReadResult ReadNativeFile(World&, Settings&, const std::filesystem::path&) {
    return {};
}

}  // namespace zentorix
