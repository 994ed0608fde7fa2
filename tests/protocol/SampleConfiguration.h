#pragma once
// A configuration far from the defaults, consistent with what reading back produces
// (derived check boxes and availability already applied), to program and compare.
namespace protocol_tests {

void applySampleConfiguration();

} // namespace protocol_tests
