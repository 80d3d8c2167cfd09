#include "servers/store/generator.h"

#include <array>
#include <cstdio>
#include <random>

namespace store {

namespace {

constexpr std::int64_t kOgdb = 101;
constexpr std::int64_t kPsdb = 102;
constexpr std::int64_t kPpdb = 103;
constexpr std::int64_t kPdb = 104;
constexpr std::int64_t kEquipment = 105;
constexpr std::int64_t kStructure = 106;
constexpr std::int64_t kCableway = 107;
constexpr std::int64_t kVolume = 108;
constexpr std::int64_t kAssembly = 109;  // a databank the listing does not classify

// std::mt19937_64 yields the same sequence everywhere; the standard distributions do not, so
// the ranges are drawn here.
class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}

  // Uniform in [0, n), n > 0, without modulo bias.
  std::uint64_t Below(std::uint64_t n) {
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
    std::uint64_t x;
    do {
      x = engine_();
    } while (x >= limit);
    return x % n;
  }
  // Uniform in [low, high].
  std::int64_t Range(std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(high - low) + 1));
  }
  bool Percent(int percent) { return Below(100) < static_cast<std::uint64_t>(percent); }
  template <class T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }

 private:
  std::mt19937_64 engine_;
};

struct Shape {
  std::int64_t databank;
  std::int32_t type;
  std::int32_t subType;
  std::string name;
};

std::string Format(const char* format, long a, long b = 0, long c = 0) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

std::int32_t R(Random& random, std::int64_t low, std::int64_t high) {
  return static_cast<std::int32_t>(random.Range(low, high));
}

// One model object of a ship project; serial keeps every name unique.
Shape MakeObject(Random& random, long serial) {
  const long block = static_cast<long>(random.Range(100, 499));
  const long system = static_cast<long>(random.Range(100, 299));
  const std::uint64_t pick = random.Below(100);
  if (pick < 22) {  // plane panel
    const bool lowRange = random.Percent(60);
    const std::int32_t type = lowRange ? R(random, 100, 499) : R(random, 700, 999);
    return {kOgdb, type, R(random, 100, 999), Format("B%03ld-PLP-%05ld", block, serial)};
  }
  if (pick < 28) {  // curved panel
    return {kOgdb, R(random, 500, 699), 501, Format("B%03ld-CP-%05ld", block, serial)};
  }
  if (pick < 36) {  // curved stiffener
    return {kOgdb, 9, R(random, 21, 25),
            Format("FR%ld-STIFF-%05ld", static_cast<long>(random.Range(0, 250)), serial)};
  }
  if (pick < 39) {  // panel-databank rows outside every range
    static constexpr std::array<std::array<std::int32_t, 2>, 5> kOdd = {
        {{9, 30}, {600, 500}, {50, 200}, {1000, 150}, {300, 50}}};
    const auto& odd = random.Pick(kOdd);
    return {kOgdb, odd[0], odd[1], Format("B%03ld-BRK-%05ld", block, serial)};
  }
  if (pick < 49) {  // pipe model
    return {kPsdb, R(random, 400, 499), 1,
            Format("ES%03ld-PS%ld-%05ld", system, block % 9, serial)};
  }
  if (pick < 55) {  // vent model
    return {kPsdb, R(random, 400, 499), 3, Format("ES%03ld-VT-%05ld", system, serial)};
  }
  if (pick < 57) {  // pipe-system databank rows that are neither pipe nor vent
    const bool wrongSub = random.Percent(50);
    return {kPsdb, wrongSub ? R(random, 400, 499) : 350, wrongSub ? 2 : 1,
            Format("ES%03ld-PSX-%05ld", system, serial)};
  }
  if (pick < 67) {  // pipe spool
    return {
        kPpdb, 305, R(random, 0, 3),
        Format("ES%03ld-PP-%05ld-SP%02ld", system, serial, static_cast<long>(random.Range(1, 12)))};
  }
  if (pick < 69) {  // spool databank, not a spool type
    return {kPpdb, 306, 0, Format("ES%03ld-PPX-%05ld", system, serial)};
  }
  if (pick < 77) {  // drawing; a few of another drawing type
    const std::int32_t type = random.Percent(90) ? 100 : 110;
    return {kPdb, type, 0, Format("DWG-B%03ld-%05ld", block, serial)};
  }
  if (pick < 85) {  // equipment
    static constexpr std::array<const char*, 6> kKinds = {"PUMP", "VALVE", "FAN",
                                                          "TANK", "MOTOR", "HEATEX"};
    std::string name = std::string("EQ-") + random.Pick(kKinds);
    return {kEquipment, R(random, 1, 50), R(random, 0, 9), name + Format("-%05ld", serial)};
  }
  if (pick < 91) {  // structure
    return {kStructure, R(random, 1, 20), 0, Format("FS-B%03ld-FND-%05ld", block, serial)};
  }
  if (pick < 96) {  // cable way
    return {kCableway, R(random, 1, 10), 0,
            Format("CW-DK%ld-%05ld", static_cast<long>(random.Range(1, 12)), serial)};
  }
  if (pick < 99) {  // volume
    return {kVolume, R(random, 1, 5), 0, Format("VOL-B%03ld-%05ld", block, serial)};
  }
  return {kAssembly, R(random, 1, 5), 0, Format("ASSY-B%03ld-%05ld", block, serial)};
}

std::optional<std::string> RevisionName(Random& random, int index) {
  static constexpr std::array<const char*, 7> kNames = {
      "Issue for approval", "As built",       "Class comments", "Prelim", "Frozen",
      "Work in progress",   "Til godkjenning"};
  const std::uint64_t pick = random.Below(100);
  if (pick < 35) return std::nullopt;
  if (pick < 37) return std::string("  ");  // hidden from the listing
  if (pick < 60) return std::string(1, static_cast<char>('A' + index % 26));
  if (pick < 80) return "Rev " + std::to_string(index + 1);
  return std::string(random.Pick(kNames));
}

std::optional<std::string> Remark(Random& random) {
  static constexpr std::array<const char*, 9> kRemarks = {
      "Frame spacing changed",
      "Moved to deck 4",
      "Plate thickness 12 mm -> 14 mm",
      "Hull class comments incorporated",
      "Kontrollert av \xC3\x98. Hansen",
      "Remark with 'quotes' and \"double quotes\"",
      "Updated after clash check",
      "50% done",
      "Name_with_underscore"};
  if (random.Percent(50)) return std::nullopt;
  return std::string(random.Pick(kRemarks));
}

}  // namespace

const std::vector<DatabankDef>& GeneratedDatabanks() {
  static const std::vector<DatabankDef> kDatabanks = {
      {kOgdb, "PW_OGDB"},           {kPsdb, "PW_PSDB"},
      {kPpdb, "PW_PPDB"},           {kPdb, "PW_PDB"},
      {kEquipment, "PWE_GENEQPDB"}, {kStructure, "PWF_DB_FSTRU"},
      {kCableway, "PWC_CAWSTRDB"},  {kVolume, "PW_MORVOLDB"},
      {kAssembly, "PW_ASSYDB"}};
  return kDatabanks;
}

GeneratorSummary GenerateRevisions(RevisionStore& store, const GeneratorOptions& options) {
  static const std::string kDefaultUser = "designer";
  const auto& users = options.users;
  Random random(options.seed);
  auto user = [&]() -> const std::string& {
    return users.empty() ? kDefaultUser : users[random.Below(users.size())];
  };
  // Creation times from 2015-01-01 over eight years.
  constexpr std::int64_t kStart = 1420070400;
  constexpr std::int64_t kSpan = 8LL * 365 * 86400;

  GeneratorSummary summary;
  store.Begin();
  try {
    for (const DatabankDef& databank : GeneratedDatabanks()) {
      store.EnsureDatabank(databank.code, databank.name);
    }
    long serial = 1;
    while (summary.revisions < options.revisionCount) {
      Shape shape = MakeObject(random, serial++);
      const std::uint64_t object =
          store.AddObject(shape.databank, shape.name, shape.type, shape.subType);
      ++summary.objects;
      const std::int64_t count =
          std::min<std::int64_t>(random.Range(1, 20), options.revisionCount - summary.revisions);
      std::int64_t at = kStart + static_cast<std::int64_t>(random.Below(kSpan));
      for (std::int64_t i = 0; i < count; ++i) {
        NewRevision revision;
        revision.name = RevisionName(random, static_cast<int>(i));
        revision.remark = Remark(random);
        revision.createdBy = user();
        revision.createdAt = TimePoint(std::chrono::seconds(at));
        if (random.Percent(25)) {
          revision.modifiedBy = user();
          revision.modifiedAt = TimePoint(std::chrono::seconds(at + random.Range(60, 30 * 86400)));
        }
        store.AddRevision(object, revision);
        at += random.Range(3600, 60 * 86400);
      }
      summary.revisions += count;
    }
    store.Commit();
  } catch (...) {
    store.Rollback();
    throw;
  }
  return summary;
}

}  // namespace store
