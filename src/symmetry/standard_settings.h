// Symbols of the standard settings that the interpreter refers other settings to.
#pragma once

#include <span>
#include <string_view>

namespace kestovar {

// The 59 orthorhombic standard symbols, fields separated by one blank ("P n m a").
std::span<const std::string_view> standard_orthorhombic_symbols();

}  // namespace kestovar
