#pragma once

#include <cstddef>

#include "base/file_system.h"

namespace kivo {

// Writes the bytes to "<stem>.tmp" beside `path` and puts that file in its place in one step, so
// that `path` holds either its old content or all of the new one, whatever happens midway.
// NotCreated: the temporary file could not be made (or its name does not fit) and nothing was
// touched. Failed: the temporary file was written but could not replace `path`, or was cut
// short; it is removed again so that it cannot stand in the way of a later write.
WriteResult write_through_temporary(FileSystem& files, const char* path, const void* bytes,
                                    std::size_t size);

}  // namespace kivo
