// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/demo_data.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/demo_filters.h"
#include "geo/address.h"
#include "geo/zip_table.h"
#include "host/date_time.h"
#include "host/environment.h"
#include "host/host_lists.h"
#include "host/table.h"
#include "host/tallis_schema.h"
#include "host/test_hooks.h"
#include "host/text.h"

namespace vistrel::app {
namespace {

using host::Status;
using host::Table;

// A small, fast generator whose sequence is the same on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number in [0, n).
  std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>((next() >> 32) * n >> 32); }
  bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < p; }
  template <typename T, std::size_t N>
  const T& pick(const std::array<T, N>& a) { return a[below(N)]; }

 private:
  std::uint64_t state_;
};

constexpr std::array<std::string_view, 120> kFirstNames = {
    "James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William", "Elizabeth",
    "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica", "Thomas", "Sarah", "Charles", "Karen",
    "Christopher", "Nancy", "Daniel", "Lisa", "Matthew", "Betty", "Anthony", "Margaret", "Mark", "Sandra",
    "Donald", "Ashley", "Steven", "Kimberly", "Paul", "Emily", "Andrew", "Donna", "Joshua", "Michelle",
    "Kenneth", "Carol", "Kevin", "Amanda", "Brian", "Dorothy", "George", "Melissa", "Timothy", "Deborah",
    "Ronald", "Stephanie", "Edward", "Rebecca", "Jason", "Sharon", "Jeffrey", "Laura", "Ryan", "Cynthia",
    "Jacob", "Kathleen", "Gary", "Amy", "Nicholas", "Angela", "Eric", "Shirley", "Jonathan", "Anna",
    "Stephen", "Brenda", "Larry", "Pamela", "Justin", "Emma", "Scott", "Nicole", "Brandon", "Helen",
    "Benjamin", "Samantha", "Samuel", "Katherine", "Gregory", "Christine", "Alexander", "Debra", "Frank",
    "Rachel", "Patrick", "Carolyn", "Raymond", "Janet", "Jack", "Catherine", "Dennis", "Maria", "Jerry",
    "Heather", "Tyler", "Diane", "Aaron", "Ruth", "Jose", "Julie", "Adam", "Olivia", "Nathan", "Joyce",
    "Henry", "Virginia", "Douglas", "Victoria", "Zachary", "Kelly", "Peter", "Lauren", "Kyle", "Christina"};

constexpr std::array<std::string_view, 153> kLastNames = {
    "Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez", "Martinez",
    "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor", "Moore", "Jackson", "Martin",
    "Lee", "Perez", "Thompson", "White", "Harris", "Sanchez", "Clark", "Ramirez", "Lewis", "Robinson",
    "Walker", "Young", "Allen", "King", "Wright", "Scott", "Torres", "Nguyen", "Hill", "Flores", "Green",
    "Adams", "Nelson", "Baker", "Hall", "Rivera", "Campbell", "Mitchell", "Carter", "Roberts", "Gomez",
    "Phillips", "Evans", "Turner", "Diaz", "Parker", "Cruz", "Edwards", "Collins", "Reyes", "Stewart",
    "Morris", "Morales", "Murphy", "Cook", "Rogers", "Gutierrez", "Ortiz", "Morgan", "Cooper", "Peterson",
    "Bailey", "Reed", "Kelly", "Howard", "Ramos", "Kim", "Cox", "Ward", "Richardson", "Watson", "Brooks",
    "Chavez", "Wood", "James", "Bennett", "Gray", "Mendoza", "Ruiz", "Hughes", "Price", "Alvarez", "Castillo",
    "Sanders", "Patel", "Myers", "Long", "Ross", "Foster", "Jimenez", "Powell", "Jenkins", "Perry", "Russell",
    "Sullivan", "Bell", "Coleman", "Butler", "Henderson", "Barnes", "Gonzales", "Fisher", "Vasquez", "Simmons",
    "Romero", "Jordan", "Patterson", "Alexander", "Hamilton", "Graham", "Reynolds", "Griffin", "Wallace",
    "Moreno", "West", "Cole", "Hayes", "Bryant", "Herrera", "Gibson", "Ellis", "Tran", "Medina", "Aguilar",
    "Stevens", "Murray", "Ford", "Castro", "Marshall", "Owens", "Harrison", "Fernandez", "McDonald", "Woods",
    "Washington", "Kennedy", "Wells", "Vargas", "Henry", "Chen", "O'Neil", "Schmidt", "Smyth"};

constexpr std::array<std::string_view, 24> kStreets = {
    "Main St", "Oak Ave", "Maple Dr", "Cedar Ln", "Park Rd", "Elm St", "Washington Blvd", "Lake Shore Dr",
    "Pine St", "Hill Rd", "Sunset Blvd", "River Rd", "Church St", "Highland Ave", "Broadway", "Market St",
    "Mill Rd", "Spring St", "Forest Ave", "Center St", "Jackson Ave", "Lincoln Way", "2nd St", "5th Ave"};

constexpr std::array<std::string_view, 16> kCompanyWords = {
    "Acme", "Summit", "Pioneer", "Liberty", "Keystone", "Evergreen", "Harbor", "Northstar",
    "Bluewater", "Redwood", "Granite", "Meridian", "Silverline", "Prairie", "Atlas", "Beacon"};

constexpr std::array<std::string_view, 6> kCompanyKinds = {"Inc", "LLC", "Corp", "Group", "& Sons", "Partners"};

constexpr std::array<std::string_view, 8> kTitles = {"Owner", "Manager", "Director", "Buyer", "Engineer",
                                                     "President", "Consultant", "Analyst"};

struct Foreign {
  std::string_view country;
  std::string_view city;
  std::string_view state;
  std::string_view zip;
};
constexpr std::array<Foreign, 12> kForeign = {{
    {"Canada", "Toronto", "ON", "M5V 2T6"},   {"Canada", "Vancouver", "BC", "V6B 1A1"},
    {"CANADA", "Montreal", "QC", "H2Y 1C6"},  {"Mexico", "Monterrey", "NL", "64000"},
    {"United Kingdom", "London", "", "SW1A 1AA"}, {"UK", "Manchester", "", "M1 1AE"},
    {"Germany", "München", "Bayern", "80331"},  {"France", "Paris", "", "75001"},
    {"Japan", "Tokyo", "", "100-0001"},        {"Australia", "Sydney", "NSW", "2000"},
    {"Canada", "Calgary", "Alberta", "T2P 1J9"}, {"Ireland", "Dublin", "", ""},
}};

// Rough population of each state in hundreds of thousands: picks a state in
// proportion, then one of its zip codes, so the shares look real.
const std::map<std::string_view, int>& statePopulation() {
  static const std::map<std::string_view, int> pop = {
      {"AL", 50}, {"AK", 7},  {"AZ", 73}, {"AR", 30}, {"CA", 390}, {"CO", 58}, {"CT", 36}, {"DE", 10},
      {"DC", 7},  {"FL", 220}, {"GA", 109}, {"HI", 14}, {"ID", 19}, {"IL", 126}, {"IN", 68}, {"IA", 32},
      {"KS", 29}, {"KY", 45}, {"LA", 46}, {"ME", 14}, {"MD", 62}, {"MA", 70}, {"MI", 100}, {"MN", 57},
      {"MS", 29}, {"MO", 61}, {"MT", 11}, {"NE", 20}, {"NV", 31}, {"NH", 14}, {"NJ", 93}, {"NM", 21},
      {"NY", 198}, {"NC", 106}, {"ND", 8}, {"OH", 118}, {"OK", 40}, {"OR", 42}, {"PA", 130}, {"RI", 11},
      {"SC", 52}, {"SD", 9},  {"TN", 70}, {"TX", 300}, {"UT", 33}, {"VT", 6},  {"VA", 87}, {"WA", 78},
      {"WV", 18}, {"WI", 59}, {"WY", 6},  {"PR", 3},  {"VI", 1}};
  return pop;
}

// Zip codes grouped by state, and a table to pick a state by population.
struct ZipPicker {
  std::vector<std::vector<const geo::ZipRecord*>> byState;
  std::vector<std::uint32_t> cumulative;
  std::uint32_t total = 0;

  ZipPicker() {
    std::map<std::string, std::vector<const geo::ZipRecord*>> groups;
    for (const geo::ZipRecord& r : geo::ZipTable::builtIn().records()) groups[r.state].push_back(&r);
    for (const auto& [state, pop] : statePopulation()) {
      auto it = groups.find(std::string(state));
      if (it == groups.end() || it->second.empty()) continue;
      byState.push_back(it->second);
      total += static_cast<std::uint32_t>(pop);
      cumulative.push_back(total);
    }
  }

  const geo::ZipRecord* pick(Random& rng) const {
    if (byState.empty()) return nullptr;
    const std::uint32_t x = rng.below(total);
    const std::size_t s = static_cast<std::size_t>(std::upper_bound(cumulative.begin(), cumulative.end(), x) -
                                                   cumulative.begin());
    const auto& zips = byState[std::min(s, byState.size() - 1)];
    return zips[rng.below(static_cast<std::uint32_t>(zips.size()))];
  }
};

struct ContactKey {
  std::uint32_t index;  // order of generation; seeds the contact's own generator
  std::uint8_t db;
  std::uint8_t last;
  std::uint8_t first;
};

// The contacts' keys, made by one generator in the order of their index but
// written in the contact table's stored order (database, last name, first
// name, index), so the rows go in front to back. Holding every key would take
// memory in proportion to the count; instead a first pass counts the keys of
// each name group, and each slice makes the keys again and keeps those of the
// next groups, up to about kSliceKeys. Memory stays the same whatever the count.
class KeyStream {
 public:
  static constexpr std::size_t kSliceKeys = std::size_t{1} << 20;
  static constexpr std::size_t kGroups = std::size(kDemoDatabases) * kLastNames.size() * kFirstNames.size();

  KeyStream(std::uint64_t seed, std::uint32_t total, bool oneDatabase)
      : seed_(seed), total_(total), oneDatabase_(oneDatabase), counts_(kGroups, 0) {
    const auto ranks = [](const auto& names, std::vector<std::uint32_t>* out) {
      for (std::string_view n : names) {
        std::uint32_t below = 0;
        for (std::string_view m : names) below += host::compareIgnoreCase(m, n) < 0;
        out->push_back(below);
      }
    };
    ranks(kDemoDatabases, &dbRank_);
    ranks(kLastNames, &lastRank_);
    ranks(kFirstNames, &firstRank_);
    forEachKey([this](const ContactKey& k) { ++counts_[group(k)]; });
  }

  // The next keys in stored order; empty after the last.
  const std::vector<ContactKey>& next() {
    slice_.clear();
    const std::size_t from = nextGroup_;
    std::size_t size = 0;
    while (nextGroup_ < kGroups && (size == 0 || size + counts_[nextGroup_] <= kSliceKeys)) {
      size += counts_[nextGroup_++];
    }
    if (size == 0) return slice_;
    slice_.reserve(size);
    forEachKey([&](const ContactKey& k) {
      const std::size_t g = group(k);
      if (g >= from && g < nextGroup_) slice_.push_back(k);
    });
    std::stable_sort(slice_.begin(), slice_.end(),
                     [this](const ContactKey& x, const ContactKey& y) { return group(x) < group(y); });
    return slice_;
  }

 private:
  template <typename Fn>
  void forEachKey(Fn&& each) const {
    Random rng(seed_);
    for (std::uint32_t i = 0; i < total_; ++i) {
      const std::uint32_t r = rng.below(100);
      const int db = oneDatabase_ ? 0 : r < 60 ? 0 : r < 90 ? 1 : 2;
      const auto last = static_cast<std::uint8_t>(rng.below(kLastNames.size()));
      const auto first = static_cast<std::uint8_t>(rng.below(kFirstNames.size()));
      each(ContactKey{i, static_cast<std::uint8_t>(db), last, first});
    }
  }
  // Names that compare equal share a rank, so a group holds them both and
  // the index orders them, as the table does.
  std::size_t group(const ContactKey& k) const {
    return (static_cast<std::size_t>(dbRank_[k.db]) * kLastNames.size() + lastRank_[k.last]) * kFirstNames.size() +
           firstRank_[k.first];
  }

  std::uint64_t seed_;
  std::uint32_t total_;
  bool oneDatabase_;
  std::vector<std::uint32_t> counts_;
  std::vector<std::uint32_t> dbRank_, lastRank_, firstRank_;
  std::vector<ContactKey> slice_;
  std::size_t nextGroup_ = 0;
};

std::string recnoText(std::int64_t n, char prefix) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%c%09lld", prefix, static_cast<long long>(n));
  return buf;
}

std::string digits(Random& rng, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>('0' + rng.below(10));
  return s;
}

std::string upperCity(std::string_view city) { return host::upperAscii(city); }

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

// The messy forms a US state is typed in.
std::string stateSpelling(Random& rng, std::string_view code) {
  const geo::StateInfo* s = geo::findState(code);
  const std::uint32_t r = rng.below(100);
  if (s == nullptr || r < 82) return std::string(code);
  if (r < 90) return std::string(s->displayName);
  if (r < 93) return lowerAscii(s->displayName);
  if (r < 95) return std::string();
  // A code typed in lower case is counted but never painted; keep it rare.
  if (rng.chance(0.1)) return lowerAscii(code);
  return std::string(code);
}

std::string countrySpelling(Random& rng) {
  const std::uint32_t r = rng.below(100);
  if (r < 50) return "USA";
  if (r < 66) return std::string();
  if (r < 76) return "United States";
  if (r < 81) return "usa";
  if (r < 86) return "U.S.A";
  if (r < 90) return "US";
  if (r < 92) return "U.S.A.";
  if (r < 94) return "America";
  if (r < 96) return "United States of America";
  return "USA";
}

std::string zipSpelling(Random& rng, const std::string& zip) {
  const std::uint32_t r = rng.below(100);
  if (r < 8) return zip + "-" + digits(rng, 4);
  if (r < 9) return zip + " " + digits(rng, 4);
  if (r < 10) return zip + digits(rng, 4);
  if (r < 12) return std::string();
  if (r < 13) return zip.substr(0, 4);
  return zip;
}

class FieldSetter {
 public:
  explicit FieldSetter(Table& t) : t_(t) {}
  Status text(std::string_view name, std::string_view value) { return field(name)->setText(value); }
  Status date(std::string_view name, double value) { return field(name)->setDateTime(value); }
  Status number(std::string_view name, double value) { return field(name)->setFloat(value); }
  Status integer(std::string_view name, std::int64_t value) { return field(name)->setInteger(value); }
  Status logical(std::string_view name, bool value) { return field(name)->setBoolean(value); }

 private:
  // Names are string literals, so their address identifies them.
  host::Field* field(std::string_view name) {
    for (const auto& [key, f] : cache_) {
      if (key.data() == name.data()) return f;
    }
    host::Field* f = t_.fieldByName(name);
    cache_.emplace_back(name, f);
    return f;
  }
  Table& t_;
  std::vector<std::pair<std::string_view, host::Field*>> cache_;
};

double today() { return *host::encodeDate(2026, 12, 1); }

Status writeContact(FieldSetter& f, const ContactKey& key, std::int64_t recno, const ZipPicker& zips,
                    std::uint64_t seed) {
  Random rng(seed * 1000003 + key.index);
  const std::string_view db = kDemoDatabases[key.db];
  VISTREL_RETURN_IF_ERROR(f.text("Recno", recnoText(recno, 'C')));
  // A few contacts carry their database name in other letter case.
  VISTREL_RETURN_IF_ERROR(f.text("DB", rng.chance(0.005) ? host::upperAscii(db) : std::string(db)));
  const std::string_view first = kFirstNames[key.first % kFirstNames.size()];
  const std::string_view last = kLastNames[key.last % kLastNames.size()];
  VISTREL_RETURN_IF_ERROR(f.text("FirstName", first));
  VISTREL_RETURN_IF_ERROR(f.text("LastName", last));
  VISTREL_RETURN_IF_ERROR(f.text("Dear", first));
  VISTREL_RETURN_IF_ERROR(f.text("Salut", rng.chance(0.5) ? "Mr." : "Ms."));
  if (rng.chance(0.6)) VISTREL_RETURN_IF_ERROR(f.text("Title", rng.pick(kTitles)));
  if (rng.chance(0.7)) {
    VISTREL_RETURN_IF_ERROR(
        f.text("Company", std::string(rng.pick(kCompanyWords)) + " " + std::string(rng.pick(kCompanyKinds))));
  }
  VISTREL_RETURN_IF_ERROR(f.text("Addr1", std::to_string(1 + rng.below(9899)) + " " + std::string(rng.pick(kStreets))));

  if (rng.chance(0.04)) {
    const Foreign& fo = kForeign[rng.below(static_cast<std::uint32_t>(kForeign.size()))];
    VISTREL_RETURN_IF_ERROR(f.text("City", fo.city));
    VISTREL_RETURN_IF_ERROR(f.text("State", fo.state));
    VISTREL_RETURN_IF_ERROR(f.text("Zip", fo.zip));
    VISTREL_RETURN_IF_ERROR(f.text("Country", fo.country));
  } else if (const geo::ZipRecord* z = zips.pick(rng); z != nullptr) {
    const std::uint32_t c = rng.below(100);
    VISTREL_RETURN_IF_ERROR(f.text("City", c < 3 ? upperCity(z->city) : c < 5 ? std::string() : z->city));
    VISTREL_RETURN_IF_ERROR(f.text("State", stateSpelling(rng, z->state)));
    VISTREL_RETURN_IF_ERROR(f.text("Zip", zipSpelling(rng, z->zip)));
    VISTREL_RETURN_IF_ERROR(f.text("Country", countrySpelling(rng)));
  }
  VISTREL_RETURN_IF_ERROR(
      f.text("Phone1", "(" + std::to_string(201 + rng.below(780)) + ") 555-" + digits(rng, 4)));
  if (rng.chance(0.5)) VISTREL_RETURN_IF_ERROR(f.text("PhDesc1", "Work"));
  if (rng.chance(0.6)) {
    VISTREL_RETURN_IF_ERROR(f.text("EMail1", lowerAscii(first) + "." + lowerAscii(last) + "@example.com"));
  }
  std::string category;
  for (char c : std::string_view("ABCDEFX2")) {
    if (rng.chance(0.2)) category += c;
  }
  VISTREL_RETURN_IF_ERROR(f.text("Category", category));
  const double added = today() - rng.below(3650);
  VISTREL_RETURN_IF_ERROR(f.date("DateAdded", added));
  VISTREL_RETURN_IF_ERROR(f.date("DateChanged", added + rng.below(static_cast<std::uint32_t>(today() - added) + 1)));
  VISTREL_RETURN_IF_ERROR(f.text("WhoAdded", rng.chance(0.7) ? "DEM" : "ABC"));
  if (rng.chance(0.7)) VISTREL_RETURN_IF_ERROR(f.date("DateCall", today() - rng.below(400)));
  if (rng.chance(0.3)) VISTREL_RETURN_IF_ERROR(f.date("Date1", *host::encodeDate(1950 + static_cast<int>(rng.below(55)),
                                                                                1 + static_cast<int>(rng.below(12)),
                                                                                1 + static_cast<int>(rng.below(28)))));
  if (rng.chance(0.4)) VISTREL_RETURN_IF_ERROR(f.number("Num1", rng.below(6)));
  if (rng.chance(0.3)) VISTREL_RETURN_IF_ERROR(f.number("Money1", rng.below(500000) / 100.0));
  if (rng.chance(0.2)) VISTREL_RETURN_IF_ERROR(f.text("User1", rng.chance(0.5) ? "Yes" : "No"));
  return f.logical("Marked", false);
}

Status writeEvents(Table& events, FieldSetter& f, std::int64_t contactRecno, std::string_view db, Random& rng,
                   std::int64_t* nextEvent) {
  const std::uint32_t count = rng.below(7);  // 0 to 6, three on average
  for (std::uint32_t i = 0; i < count; ++i) {
    VISTREL_RETURN_IF_ERROR(events.insert());
    VISTREL_RETURN_IF_ERROR(f.text("ERecno", recnoText((*nextEvent)++, 'E')));
    VISTREL_RETURN_IF_ERROR(f.text("Recno", recnoText(contactRecno, 'C')));
    VISTREL_RETURN_IF_ERROR(f.text("DB", db));
    static constexpr int kTypes[] = {0, 0, 0, 1, 1, 2, 3, 4, 6, 7, 8};
    const int type = kTypes[rng.below(std::size(kTypes))];
    VISTREL_RETURN_IF_ERROR(f.text("Type", host::EventTypeNames[static_cast<std::size_t>(type)]));
    const double when = today() - 700 + rng.below(760);
    VISTREL_RETURN_IF_ERROR(f.date("EventDate", when));
    VISTREL_RETURN_IF_ERROR(f.date("EventTime", (8 * 60 + 30 * rng.below(20)) / 1440.0));
    VISTREL_RETURN_IF_ERROR(f.text("Status", host::EventStatusList[rng.below(16)].code));
    if (type == 1) VISTREL_RETURN_IF_ERROR(f.text("LetterType", rng.chance(0.5) ? "G" : "E"));
    const bool done = when < today();
    VISTREL_RETURN_IF_ERROR(f.logical("Completed", done));
    if (done) VISTREL_RETURN_IF_ERROR(f.date("DateCompleted", when));
    VISTREL_RETURN_IF_ERROR(f.text("Who", rng.chance(0.7) ? "DEM" : "ABC"));
    VISTREL_RETURN_IF_ERROR(f.text("Summary", std::string(host::EventTypeNames[static_cast<std::size_t>(type)]) +
                                                  " about the " + std::string(rng.pick(kCompanyWords)) + " account"));
    if (type == 7) VISTREL_RETURN_IF_ERROR(f.number("Sale", rng.below(1000000) / 100.0));
    VISTREL_RETURN_IF_ERROR(events.post());
  }
  return Status::OK();
}

Status writeRow(Table& t, const std::vector<std::pair<std::string_view, std::string>>& values) {
  VISTREL_RETURN_IF_ERROR(t.insert());
  for (const auto& [name, value] : values) {
    host::Field* field = t.fieldByName(name);
    if (field == nullptr) return Status::InvalidArgument(t.tableName() + " has no field " + std::string(name));
    VISTREL_RETURN_IF_ERROR(field->setText(value));
  }
  return t.post();
}

// One stored filter line in the text form Tallis shares.
std::string filterLine(std::string_view field, int relation, std::string_view value, int connector) {
  return "database(Contact) field(" + std::string(field) + ") condition(" + std::to_string(relation) + ") value(" +
         std::string(value) +
         ") casebox(FALSE) yearbox(FALSE) daybox(FALSE) punctbox(FALSE) openpara(0) closepara(0) and(" +
         std::to_string(connector) + ")";
}

// The two demo users, one with a password.
Status writeUsers(host::Engine& engine, const std::string& a) {
  Table users(engine, a, std::string(host::kUserPrefTableName));
  VISTREL_RETURN_IF_ERROR(users.open());
  VISTREL_RETURN_IF_ERROR(writeRow(users, {{"Who", "DEM"}, {"Password", ""}, {"Name", "Demo User"}}));
  VISTREL_RETURN_IF_ERROR(
      writeRow(users, {{"Who", "ABC"}, {"Password", host::ScramblePassword("secret")}, {"Name", "Alice B. Carter"}}));
  return Status::OK();
}

// The three demo databases with their category names.
Status writeDatabases(host::Engine& engine, const std::string& a) {
  Table dbs(engine, a, std::string(host::kDatabaseTableName));
  VISTREL_RETURN_IF_ERROR(dbs.open());
  const char* cats[][6] = {{"Active customer", "Bought this year", "Catalog mailing", "Dealer", "Event guest",
                            "Former customer"},
                           {"Account", "Billing contact", "Consulting", "Direct", "Europe", "Franchise"},
                           {"Ad response", "Booth visitor", "Cold list", "Demo requested", "Email list",
                            "Friend referral"}};
  const char* desc[] = {"Sales leads and customers", "Current clients", "Prospects from trade shows"};
  for (int d = 0; d < 3; ++d) {
    std::vector<std::pair<std::string_view, std::string>> row = {{"DB", std::string(kDemoDatabases[d])},
                                                                 {"Description", desc[d]}};
    static const char* kCatFields[] = {"cat1", "cat2", "cat3", "cat4", "cat5", "cat6"};
    for (int c = 0; c < 6; ++c) row.emplace_back(kCatFields[c], cats[d][c]);
    row.emplace_back("cat24", "Export");
    row.emplace_back("cat28", "Priority 2");
    VISTREL_RETURN_IF_ERROR(writeRow(dbs, row));
  }
  return Status::OK();
}

// The captions of the user-defined fields.
Status writeSettings(host::Engine& engine, const std::string& a) {
  Table settings(engine, a, std::string(host::kSettingsTableName));
  VISTREL_RETURN_IF_ERROR(settings.open());
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"User1", "Newsletter"}, {"User2", "Spouse"}, {"Date1", "Birthday"}, {"Num1", "Children"},
           {"Money1", "Budget"}}) {
    VISTREL_RETURN_IF_ERROR(writeRow(settings, {{"Name", name}, {"Value", value}}));
  }
  return Status::OK();
}

// The holidays of 2025 to 2027: each year four for everyone and one for ABC.
Status writeHolidays(host::Engine& engine, const std::string& a) {
  Table holidays(engine, a, std::string(host::kHolidayTableName));
  VISTREL_RETURN_IF_ERROR(holidays.open());
  for (int year = 2025; year <= 2027; ++year) {
    const std::string y = std::to_string(year);
    for (const auto& [date, name] : std::vector<std::pair<std::string, std::string>>{
             {"1/1/" + y, "New Year's Day"}, {"7/4/" + y, "Independence Day"}, {"12/25/" + y, "Christmas Day"},
             {"11/11/" + y, "Veterans Day"}}) {
      VISTREL_RETURN_IF_ERROR(
          writeRow(holidays, {{"date", date}, {"global", "True"}, {"who", ""}, {"name", name}}));
    }
    VISTREL_RETURN_IF_ERROR(
        writeRow(holidays, {{"date", "3/14/" + y}, {"global", "False"}, {"who", "ABC"}, {"name", "Office closed"}}));
  }
  return Status::OK();
}

// The marks of the demo user on the `marked` contacts.
Status writeMarks(host::Engine& engine, const std::string& a, const std::vector<std::string>& marked) {
  Table marks(engine, a, std::string(host::kMarksTableName));
  VISTREL_RETURN_IF_ERROR(marks.open());
  for (const std::string& recno : marked) {
    VISTREL_RETURN_IF_ERROR(writeRow(marks, {{"Who", "DEM"}, {"DB", "Sales"}, {"Recno", recno}}));
  }
  return Status::OK();
}

// The pop-up values of the Title field.
Status writePopupValues(host::Engine& engine, const std::string& a) {
  Table popup(engine, a, std::string(host::kPopupTableName));
  VISTREL_RETURN_IF_ERROR(popup.open());
  for (const char* title : {"Owner", "Manager", "Director", "Buyer"}) {
    VISTREL_RETURN_IF_ERROR(writeRow(popup, {{"Field", "Title"}, {"Value", title}}));
  }
  return Status::OK();
}

// The saved filters of the demo user.
Status writeFilters(host::Engine& engine, const std::string& a) {
  Table select(engine, a, std::string(host::kSelectTableName));
  VISTREL_RETURN_IF_ERROR(select.open());
  const std::string crlf = "\r\n";
  const std::vector<std::pair<std::string, std::string>> filters = {
      {"California contacts", filterLine("State", 5, "CA", 0)},
      {"Chicago area zip codes", filterLine("Zip Code", 16, "606", 0)},
      {"Category A or B", filterLine("Category", 11, "A or B", 0)},
      {"Called in the last 30 days", filterLine("DateCall", 19, "TODAY -30dy", 0)},
      {"Texas or Florida", filterLine("State", 5, "TX", 2) + crlf + filterLine("State", 5, "FL", 0)},
  };
  int n = 0;
  for (const auto& [name, text] : filters) {
    VISTREL_RETURN_IF_ERROR(writeRow(select, {{"Shortname", name}, {"DB", "Sales"}, {"Who", "DEM"},
                                              {"Type", "CONTACT"}, {"Selection", text},
                                              {"FRecno", "F" + std::to_string(++n)}}));
  }
  return addDemoFilters(select, n);
}

Status writeSmallTables(host::Engine& engine, std::string_view alias, const std::vector<std::string>& marked) {
  const std::string a(alias);
  VISTREL_RETURN_IF_ERROR(writeUsers(engine, a));
  VISTREL_RETURN_IF_ERROR(writeDatabases(engine, a));
  VISTREL_RETURN_IF_ERROR(writeSettings(engine, a));
  VISTREL_RETURN_IF_ERROR(writeHolidays(engine, a));
  VISTREL_RETURN_IF_ERROR(writeMarks(engine, a, marked));
  VISTREL_RETURN_IF_ERROR(writePopupValues(engine, a));
  VISTREL_RETURN_IF_ERROR(writeFilters(engine, a));
  return Status::OK();
}

}  // namespace

Status fillDemoData(host::Engine& engine, std::string_view alias, const DemoOptions& options) {
  const std::string a(alias);
  if (options.contacts > kMaxDemoContacts) {
    return Status::InvalidArgument("at most " + std::to_string(kMaxDemoContacts) + " demo contacts");
  }
  const std::int64_t total = std::max<std::int64_t>(0, options.contacts);
  if (geo::ZipTable::builtIn().records().empty()) return Status::Corrupt("the built-in zip table is missing");
  for (auto which : {host::TablePassword::kUsers, host::TablePassword::kContacts, host::TablePassword::kFilters}) {
    engine.addPassword(host::tallisTablePassword(which));
  }

  KeyStream keys(options.seed, static_cast<std::uint32_t>(total), options.oneDatabase);
  const ZipPicker zips;
  std::vector<std::string> marked;
  Table contacts(engine, a, std::string(host::kContactTableName));
  Table events(engine, a, std::string(host::kEventTableName));
  VISTREL_RETURN_IF_ERROR(contacts.open());
  VISTREL_RETURN_IF_ERROR(events.open());
  FieldSetter cf(contacts);
  FieldSetter ef(events);
  std::int64_t nextEvent = 1;
  std::int64_t done = 0;
  constexpr std::size_t kBatch = 20000;
  for (const std::vector<ContactKey>* slice = &keys.next(); !slice->empty(); slice = &keys.next()) {
    for (std::size_t start = 0; start < slice->size(); start += kBatch) {
      const std::size_t end = std::min(slice->size(), start + kBatch);
      VISTREL_RETURN_IF_ERROR(engine.inTransaction(a, [&]() -> Status {
        for (std::size_t i = start; i < end; ++i) {
          const ContactKey& key = (*slice)[i];
          const std::int64_t recno = static_cast<std::int64_t>(key.index) + 1;
          VISTREL_RETURN_IF_ERROR(contacts.insert());
          VISTREL_RETURN_IF_ERROR(writeContact(cf, key, recno, zips, options.seed));
          VISTREL_RETURN_IF_ERROR(contacts.post());
          Random erng(options.seed * 7919 + key.index);
          VISTREL_RETURN_IF_ERROR(writeEvents(events, ef, recno, kDemoDatabases[key.db], erng, &nextEvent));
          if (key.db == 0 && erng.chance(0.02) && marked.size() < 5000) marked.push_back(recnoText(recno, 'C'));
          host::rowWrittenForTesting(++done);
        }
        return Status::OK();
      }));
      if (options.progress) options.progress(done, total);
    }
  }
  contacts.close();
  events.close();
  return engine.inTransaction(a, [&]() { return writeSmallTables(engine, alias, marked); });
}

}  // namespace vistrel::app
