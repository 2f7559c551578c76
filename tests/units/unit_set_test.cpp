// Sets of units written from the fixture libraries: the walk of references, one unit per
// library, uses clauses, cycles, and a unit that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/units/unit_set.h"
#include "typelib/access.h"

namespace quenlor::units {
namespace {

namespace fs = std::filesystem;

class UnitSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    // References are found by their recorded file names in the current folder.
    fs::current_path(QUENLOR_FIXTURES_DIR);
    out_ = fs::temp_directory_path() /
           ("quenlor-unit-set-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(out_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(out_);
  }

  static std::shared_ptr<typelib::ITypeLibAccess> Load(const std::string& name) {
    std::shared_ptr<typelib::ITypeLibAccess> library;
    EXPECT_EQ(typelib::LoadTypeLibrary(name + "-win64.tlb", typelib::ReaderKind::Builtin, library), typelib::kOk) << name;
    return library;
  }

  std::string Unit(const std::string& unit_name) const {
    std::ifstream in(out_ / (unit_name + ".pas"), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string UsesLine(const std::string& unit_name) const {
    const std::string text = Unit(unit_name);
    const auto start = text.find("uses\r\n");
    if (start == std::string::npos) return "<no uses>";
    const auto end = text.find("\r\n", start + 6);
    return text.substr(start + 6, end - start - 6);
  }

  std::set<std::string> Files() const {
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(out_)) files.insert(entry.path().filename().string());
    return files;
  }

  fs::path previous_;
  fs::path out_;
};

TEST_F(UnitSetTest, AChainIsWrittenOnceEachUnitUsingWhatItsLibraryRefersTo) {
  UnitSet set(true);
  EXPECT_TRUE(set.Add(Load("qchaina")));
  EXPECT_TRUE(set.Add(Load("qchainb")));
  EXPECT_FALSE(set.Add(Load("qchainb")));  // the same library asked for twice
  set.AddDependencies();
  EXPECT_EQ(set.UnitCount(), 3u);
  std::vector<std::string> progress;
  set.WriteAll(out_.string(), [&](std::size_t position, std::size_t count, const std::string& unit) {
    progress.push_back(std::to_string(position) + "/" + std::to_string(count) + " " + unit);
  });
  EXPECT_TRUE(set.Failures().empty());
  EXPECT_EQ(progress, (std::vector<std::string>{"1/3 QChainA_TLB", "2/3 QChainB_TLB", "3/3 QChainC_TLB"}));
  // stdole, which qchaina refers to, gets no unit: ActiveX declares its types.
  EXPECT_EQ(Files(), (std::set<std::string>{"QChainA_TLB.pas", "QChainB_TLB.pas", "QChainC_TLB.pas"}));
  EXPECT_EQ(UsesLine("QChainA_TLB"), "  Windows, ActiveX, Variants, QChainB_TLB, QChainC_TLB;");
  EXPECT_EQ(UsesLine("QChainB_TLB"), "  Windows, ActiveX, Variants, QChainC_TLB;");
  EXPECT_EQ(UsesLine("QChainC_TLB"), "  Windows, ActiveX, Variants;");
  ASSERT_EQ(set.Written().size(), 3u);
  EXPECT_TRUE(set.Written()[0].asked_for);
  EXPECT_TRUE(set.Written()[1].asked_for);
  EXPECT_FALSE(set.Written()[2].asked_for);
  // Another library's dispinterface and stdole's alias are types of the unit, not comments.
  const std::string a = Unit("QChainA_TLB");
  EXPECT_NE(a.find("out dual: IQChainBDual): HResult; stdcall;"), std::string::npos) << a;
  EXPECT_NE(a.find("const font: IFontDisp;"), std::string::npos) << a;
}

TEST_F(UnitSetTest, ACycleIsBrokenWhereAUnitCanDoWithoutTheOther) {
  // qcycleb takes qcyclea's record, qcyclea only hands out qcycleb's interface: whichever
  // is asked for, qcyclea's unit does without qcycleb's.
  for (const char* asked : {"qcyclea", "qcycleb"}) {
    fs::remove_all(out_);
    UnitSet set(true);
    set.Add(Load(asked));
    set.AddDependencies();
    set.WriteAll(out_.string(), nullptr);
    EXPECT_EQ(UsesLine("QCycleB_TLB"), "  Windows, ActiveX, Variants, QCycleA_TLB;") << asked;
    EXPECT_EQ(UsesLine("QCycleA_TLB"), "  Windows, ActiveX, Variants;") << asked;
    const std::string a = Unit("QCycleA_TLB");
    EXPECT_NE(a.find("function Partner(out Partner: IUnknown): HResult; stdcall;"), std::string::npos) << a;
    const std::string b = Unit("QCycleB_TLB");
    EXPECT_NE(b.find("function Owner(out Owner: IQCycleA): HResult; stdcall;"), std::string::npos) << b;
    EXPECT_NE(b.find("function Place(var spot: QCycleSpot): HResult; stdcall;"), std::string::npos) << b;
  }
}

TEST_F(UnitSetTest, WithoutDependenciesEachUnitStandsAlone) {
  UnitSet set(false);
  set.Add(Load("qchaina"));
  set.AddDependencies();
  EXPECT_EQ(set.UnitCount(), 1u);
  set.WriteAll(out_.string(), nullptr);
  EXPECT_EQ(Files(), (std::set<std::string>{"QChainA_TLB.pas"}));
  EXPECT_EQ(UsesLine("QChainA_TLB"), "  Windows, ActiveX, Variants;");
}

TEST_F(UnitSetTest, AUnitThatCannotBeWrittenFailsAloneAndLeavesNoPart) {
  // A folder where one unit's file would go.
  fs::create_directories(out_ / "QChainB_TLB.pas");
  UnitSet set(true);
  set.Add(Load("qchaina"));
  set.AddDependencies();
  set.WriteAll(out_.string(), nullptr);
  ASSERT_EQ(set.Failures().size(), 1u);
  EXPECT_EQ(set.Failures()[0].unit_name, "QChainB_TLB");
  EXPECT_FALSE(set.Failures()[0].reason.empty());
  EXPECT_EQ(set.Written().size(), 2u);
  EXPECT_EQ(Files(), (std::set<std::string>{"QChainA_TLB.pas", "QChainB_TLB.pas", "QChainC_TLB.pas"}));
  EXPECT_TRUE(fs::is_directory(out_ / "QChainB_TLB.pas"));
}

}  // namespace
}  // namespace quenlor::units
