#pragma once

namespace vantrel {

// Whether this process holds administrator rights: an elevated token where the system has user
// account control, membership of the Administrators group where it has none. A process started
// from a prompt that was not "Run as administrator" gets false, though its user is an
// administrator.
bool IsProcessElevated();

}  // namespace vantrel
