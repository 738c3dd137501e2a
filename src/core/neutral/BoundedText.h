// Texts stored in resources do not always carry their terminator: a text ends
// at the first zero byte or at the end of its data, whichever comes first.
#pragma once
#include <cstddef>

std::size_t BoundedTextLength(const void* data, std::size_t size);
