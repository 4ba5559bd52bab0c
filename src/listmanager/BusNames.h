#pragma once

// The list manager's names on the session bus, the same for the program that offers its
// objects and for every client of it.
namespace barlink::listmanager::bus {

inline constexpr auto serviceName = "org.barlink.ListManager";
inline constexpr auto applicationPath = "/Application";
inline constexpr auto currentListPath = "/ExeList/1";
inline constexpr auto lateBoundListPath = "/LateBoundList";
// Followed by the error number: a part of a bus error name may not begin with a digit.
inline constexpr auto errorPrefix = "org.barlink.ListManager.Error.E";

} // namespace barlink::listmanager::bus
