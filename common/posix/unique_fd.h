#pragma once

#include "common/unique_resource.h"

#include <unistd.h>

namespace setip {

struct FileDescriptorTraits {
    using Handle = int;
    static int none() noexcept { return -1; }
    static bool valid(int fd) noexcept { return fd >= 0; }
    static void release(int fd) noexcept { ::close(fd); }
};

// Owns one file descriptor and closes it exactly once.
using UniqueFd = UniqueResource<FileDescriptorTraits>;

}  // namespace setip
