#include "browser/model_type_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace browser {
namespace {

TEST(ModelTypeCatalogueTest, HoldsTheTenEntriesWithAllModelsFirst) {
  std::vector<std::string> names;
  for (const ModelTypeEntry& entry : ModelTypeCatalogue::Entries()) {
    names.emplace_back(entry.displayName);
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"All models", "Equipments", "Structure models",
                                      "Cableway models", "Vent models", "Pipe spools",
                                      "Pipe models", "Curved panels", "Drawings", "Plane panels"}));
  EXPECT_EQ(&ModelTypeCatalogue::AllModels(), &ModelTypeCatalogue::Entries()[0]);
}

TEST(ModelTypeCatalogueTest, FindsEveryEntryByItsExactName) {
  for (const ModelTypeEntry& entry : ModelTypeCatalogue::Entries()) {
    EXPECT_EQ(&ModelTypeCatalogue::Find(entry.displayName), &entry) << entry.displayName;
  }
}

TEST(ModelTypeCatalogueTest, AnyOtherTextFallsBackToAllModels) {
  for (const char* text : {"Choose models", "plane panels", "Plane panels ", " Drawings", "",
                           "Drawing", "Curved stiffeners", "All models"}) {
    EXPECT_EQ(&ModelTypeCatalogue::Find(text), &ModelTypeCatalogue::AllModels()) << text;
  }
}

TEST(ModelTypeCatalogueTest, AllModelsExcludesOnlyTheVolumeDatabank) {
  const ModelTypeEntry& all = ModelTypeCatalogue::AllModels();
  EXPECT_EQ(all.databankOperator, QueryOperator::NotEqual);
  EXPECT_EQ(all.databank, "PW_MORVOLDB");
  EXPECT_TRUE(all.codeConditions.empty());
}

}  // namespace
}  // namespace browser
