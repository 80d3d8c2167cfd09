#include "browser/model_type_classification.h"

namespace browser {
namespace {

constexpr bool InRange(int value, int low, int high) {
  return low <= value && value <= high;
}

std::string_view ClassifyPanelDatabank(int type, int subType) {
  // Type 9 is a stiffener or nothing; it never counts as a panel.
  if (type == 9) return InRange(subType, 21, 25) ? "Curved stiffeners" : "Unknown";
  if ((InRange(type, 100, 499) || InRange(type, 700, 999)) && InRange(subType, 100, 999)) {
    return "Plane panels";
  }
  if (InRange(type, 500, 699) && subType == 501) return "Curved panels";
  return "Unknown";
}

}  // namespace

std::string_view ClassifyModelType(std::string_view databank, std::int16_t typeCode,
                                   std::int16_t subTypeCode) {
  if (databank == "PWE_GENEQPDB") return "Equipments";
  if (databank == "PWF_DB_FSTRU") return "Structure models";
  if (databank == "PWC_CAWSTRDB") return "Cableway models";
  if (databank == "PW_PPDB") return typeCode == 305 ? "Pipe spools" : "Unknown";
  if (databank == "PW_PSDB") {
    if (!InRange(typeCode, 400, 499)) return "Unknown";
    if (subTypeCode == 3) return "Vent models";
    if (subTypeCode == 1) return "Pipe models";
    return "Unknown";
  }
  if (databank == "PW_OGDB") return ClassifyPanelDatabank(typeCode, subTypeCode);
  // Singular here, unlike the catalogue's "Drawings".
  if (databank == "PW_PDB") return "Drawing";
  return "Unknown";
}

}  // namespace browser
