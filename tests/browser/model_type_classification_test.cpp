#include "browser/model_type_classification.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace browser {
namespace {

struct ClassificationCase {
  const char* databank;
  std::int16_t type;
  std::int16_t subType;
  const char* expected;
};

std::ostream& operator<<(std::ostream& out, const ClassificationCase& c) {
  return out << c.databank << " " << c.type << "/" << c.subType;
}

class ClassifyModelTypeTest : public testing::TestWithParam<ClassificationCase> {};

TEST_P(ClassifyModelTypeTest, GivesTheTypeText) {
  const ClassificationCase& c = GetParam();
  EXPECT_EQ(std::string(ClassifyModelType(c.databank, c.type, c.subType)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    DatabanksOfAnyCode, ClassifyModelTypeTest,
    testing::Values(ClassificationCase{"PWE_GENEQPDB", 0, 0, "Equipments"},
                    ClassificationCase{"PWE_GENEQPDB", -5, 32767, "Equipments"},
                    ClassificationCase{"PWF_DB_FSTRU", 123, 4, "Structure models"},
                    ClassificationCase{"PWC_CAWSTRDB", 9, 22, "Cableway models"},
                    ClassificationCase{"PW_PDB", 100, 0, "Drawing"},
                    ClassificationCase{"PW_PDB", 7, 999, "Drawing"},
                    ClassificationCase{"PW_PDB", -1, -1, "Drawing"}));

INSTANTIATE_TEST_SUITE_P(PipesAndVents, ClassifyModelTypeTest,
                         testing::Values(ClassificationCase{"PW_PPDB", 305, 0, "Pipe spools"},
                                         ClassificationCase{"PW_PPDB", 305, 77, "Pipe spools"},
                                         ClassificationCase{"PW_PPDB", 306, 0, "Unknown"},
                                         ClassificationCase{"PW_PPDB", 304, 0, "Unknown"},
                                         ClassificationCase{"PW_PSDB", 400, 3, "Vent models"},
                                         ClassificationCase{"PW_PSDB", 499, 3, "Vent models"},
                                         ClassificationCase{"PW_PSDB", 450, 1, "Pipe models"},
                                         ClassificationCase{"PW_PSDB", 499, 1, "Pipe models"},
                                         ClassificationCase{"PW_PSDB", 399, 1, "Unknown"},
                                         ClassificationCase{"PW_PSDB", 500, 3, "Unknown"},
                                         ClassificationCase{"PW_PSDB", 450, 2, "Unknown"},
                                         ClassificationCase{"PW_PSDB", 305, 0, "Unknown"}));

INSTANTIATE_TEST_SUITE_P(
    PanelsAndStiffeners, ClassifyModelTypeTest,
    testing::Values(ClassificationCase{"PW_OGDB", 9, 21, "Curved stiffeners"},
                    ClassificationCase{"PW_OGDB", 9, 22, "Curved stiffeners"},
                    ClassificationCase{"PW_OGDB", 9, 25, "Curved stiffeners"},
                    ClassificationCase{"PW_OGDB", 9, 20, "Unknown"},
                    ClassificationCase{"PW_OGDB", 9, 26, "Unknown"},
                    ClassificationCase{"PW_OGDB", 9, 30, "Unknown"},
                    // Type 9 is never tested against the panel ranges.
                    ClassificationCase{"PW_OGDB", 9, 100, "Unknown"},
                    ClassificationCase{"PW_OGDB", 100, 100, "Plane panels"},
                    ClassificationCase{"PW_OGDB", 499, 100, "Plane panels"},
                    ClassificationCase{"PW_OGDB", 700, 999, "Plane panels"},
                    ClassificationCase{"PW_OGDB", 999, 500, "Plane panels"},
                    ClassificationCase{"PW_OGDB", 99, 100, "Unknown"},
                    ClassificationCase{"PW_OGDB", 1000, 100, "Unknown"},
                    ClassificationCase{"PW_OGDB", 300, 99, "Unknown"},
                    ClassificationCase{"PW_OGDB", 300, 1000, "Unknown"},
                    ClassificationCase{"PW_OGDB", 500, 501, "Curved panels"},
                    ClassificationCase{"PW_OGDB", 699, 501, "Curved panels"},
                    // A type between the plane ranges with a plane sub-type is no panel.
                    ClassificationCase{"PW_OGDB", 600, 500, "Unknown"},
                    ClassificationCase{"PW_OGDB", 600, 502, "Unknown"},
                    ClassificationCase{"PW_OGDB", 700, 501, "Plane panels"},
                    ClassificationCase{"PW_OGDB", 499, 501, "Plane panels"}));

INSTANTIATE_TEST_SUITE_P(OtherDatabanks, ClassifyModelTypeTest,
                         testing::Values(ClassificationCase{"PW_MORVOLDB", 100, 100, "Unknown"},
                                         ClassificationCase{"", 305, 0, "Unknown"},
                                         // Databank names compare exactly.
                                         ClassificationCase{"pw_pdb", 100, 0, "Unknown"},
                                         ClassificationCase{"PW_PDB ", 100, 0, "Unknown"},
                                         ClassificationCase{"PWE_GENEQPDBX", 0, 0, "Unknown"}));

}  // namespace
}  // namespace browser
