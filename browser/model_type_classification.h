#pragma once
// The model-type text of a row listed with "All models", from its databank and codes.
#include <cstdint>
#include <string_view>

namespace browser {

// "Equipments", "Structure models", "Cableway models", "Pipe spools", "Vent models",
// "Pipe models", "Curved stiffeners", "Plane panels", "Curved panels", "Drawing" or "Unknown".
std::string_view ClassifyModelType(std::string_view databank, std::int16_t typeCode,
                                   std::int16_t subTypeCode);

}  // namespace browser
