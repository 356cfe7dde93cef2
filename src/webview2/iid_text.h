#pragma once

// Interfaces are named by their identifier texts and parsed at each use. Every declaration header
// adds the texts of its own interfaces to this namespace, each named like its interface.
namespace IidText {
inline constexpr char IUnknown[] = "{00000000-0000-0000-C000-000000000046}";
inline constexpr char IDispatch[] = "{00020400-0000-0000-C000-000000000046}";
}  // namespace IidText
