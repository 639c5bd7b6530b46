#pragma once

namespace vantrel {

// The product's web page: Home Page and the about box's address open it.
constexpr const char* kHomePageAddress = "https://www.vantrel.example/";

}  // namespace vantrel
