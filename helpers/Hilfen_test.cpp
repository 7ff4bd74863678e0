#include "helpers/Hilfen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "helpers/Gleitkomma.h"
#include "helpers/TestHilfen.h"

namespace {

TEST(Hilfen, IstGanzzahl) {
  const struct {
    const char* Text;
    bool Gueltig;
    int32_t Wert;
  } Faelle[] = {
      {"12", true, 12},
      {" 12", true, 12},
      {"   -12", true, -12},
      {"+0", true, 0},
      {"-0", true, 0},
      {"$1F", true, 31},
      {"0x1f", true, 31},
      {"0X1F", true, 31},
      {"x10", true, 16},
      {"X10", true, 16},
      {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},
      {"$80000000", true, INT32_MIN},
      {"-$80000000", true, INT32_MIN},
      {"$000000001", true, 1},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"00000000000000000007", true, 7},
      {"", false, 0},
      {"   ", false, 0},
      {"12 ", false, 0},
      {"1.5", false, 0},
      {"-", false, 0},
      {"+", false, 0},
      {"2147483648", false, 0},
      {"+2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"$100000000", false, 0},
      {"$", false, 0},
      {"0x", false, 0},
      {"$1G", false, 0},
      {"1e3", false, 0},
      {"- 1", false, 0},
      {"\t1", false, 0},
      {"--1", false, 0},
      {"1,0", false, 0},
      {"0x-1", false, 0},
  };
  for (const auto& F : Faelle) {
    EXPECT_EQ(IstGanzzahl(F.Text), F.Gueltig) << '"' << F.Text << '"';
    if (F.Gueltig)
      EXPECT_EQ(GanzzahlWert(F.Text), F.Wert) << '"' << F.Text << '"';
    else
      EXPECT_EQ(Fehlertext<std::runtime_error>([&] { GanzzahlWert(F.Text); }),
                "'" + std::string(F.Text) + "' ist kein gültiger Integerwert");
  }
}

TEST(Hilfen, IstKommazahlUndTextAlsKommazahl) {
  const struct {
    const char* Text;
    bool Gueltig;
    double Wert;  // 0.0 for invalid texts
  } Faelle[] = {
      {"30", true, 30.0},    {"30,5", true, 30.5},    {"30.5", true, 30.5},  {"-0,25", true, -0.25},
      {"1E3", true, 1000.0}, {" 7", true, 7.0},       {"22,5", true, 22.5},  {".5", true, 0.5},
      {",5", true, 0.5},     {"5.", true, 5.0},       {".", true, 0.0},      {"e5", true, 0.0},
      {"+1e-2", true, 0.01}, {"1E+2", true, 100.0},   {"-.5e1", true, -5.0}, {"0.1", true, 0.1},
      {"1e-400", true, 0.0}, {"   ", true, 0.0},      {"30 ", false, 0.0},   {"3O", false, 0.0},
      {"1e", false, 0.0},    {"+", false, 0.0},       {"-", false, 0.0},     {"", false, 0.0},
      {"abc", false, 0.0},   {"1,000.5", false, 0.0}, {"1..5", false, 0.0},  {"1e+", false, 0.0},
      {"1e5.", false, 0.0},  {"\t1", false, 0.0},     {"--1", false, 0.0},   {"1 e5", false, 0.0},
      {"0x10", false, 0.0},  {"inf", false, 0.0},     {"nan", false, 0.0},
  };
  for (const auto& F : Faelle) {
    EXPECT_EQ(IstKommazahl(F.Text), F.Gueltig) << '"' << F.Text << '"';
    EXPECT_EQ(TextAlsKommazahl(F.Text), F.Wert) << '"' << F.Text << '"';
  }
  // Correct rounding to the nearest double, not digit-by-digit accumulation.
  EXPECT_EQ(TextAlsKommazahl("0,30000000000000004"), 0.30000000000000004);
  EXPECT_EQ(TextAlsKommazahl("2.2250738585072014e-308"), 2.2250738585072014e-308);
}

TEST(Hilfen, TextAlsKommazahlUeberlauf) {
  EXPECT_TRUE(IstKommazahl("1e400"));
  EXPECT_TRUE(IstKommazahl("-1,5e99999999999999999999"));
  EXPECT_EQ(Fehlertext([] { TextAlsKommazahl("1e400"); }), "Gleitkommaüberlauf");
  EXPECT_EQ(Fehlertext([] { TextAlsKommazahl("-1,5e99999999999999999999"); }),
            "Gleitkommaüberlauf");
  EXPECT_EQ(TextAlsKommazahl("1.7976931348623157e308"), 1.7976931348623157e308);
}

TEST(Hilfen, KommaZuPunkt) {
  std::string Text = ",1,,2.3,";
  KommaZuPunkt(Text);
  EXPECT_EQ(Text, ".1..2.3.");
  std::string Ohne = "abc";
  KommaZuPunkt(Ohne);
  EXPECT_EQ(Ohne, "abc");
}

TEST(Hilfen, KommazahlAlsText) {
  const struct {
    int Stellen;
    double Zahl;
    const char* Text;
  } Faelle[] = {
      {2, 30.0, "30.00"},
      {2, 22.5, "22.50"},
      {2, -7.125, "-7.13"},
      {1, 0.3, "0.3"},
      {0, 2.5, "3"},
      {0, -2.5, "-3"},
      {0, 0.5, "1"},
      {0, 0.49, "0"},
      {2, 0.125, "0.13"},
      {2, -0.001, "-0.00"},
      {2, 0.001, "0.00"},
      {2, 0.0, "0.00"},
      {2, -0.0, "0.00"},
      {3, 0.0005, "0.001"},
      {3, 0.00049, "0.000"},
      // Below the half already within 18 digits: 1.00499999999999989...
      {2, 1.005, "1.00"},
      {2, 0.285, "0.28"},
      {1, 0.95, "0.9"},
      {1, 0.05, "0.1"},  // 0.0500000000000000028
      {2, 9.9951, "10.00"},
      // Binary value below the half, but its 18-digit expansion is 1.00000000000000215E13.
      {3, 10000000000000.0215, "10000000000000.022"},
      {3, -10000000000000.0215, "-10000000000000.022"},
      {2, 99.999, "100.00"},
      {1, 123456.25, "123456.3"},
      {3, 1.0 / 3.0, "0.333"},
      {0, 1e15, "1000000000000000"},
      {3, 4.9e-324, "0.000"},
      {2, 1e20, "100000000000000000000.00"},
      {1, -1234.56789, "-1234.6"},
  };
  for (const auto& F : Faelle)
    EXPECT_EQ(KommazahlAlsText(static_cast<uint8_t>(F.Stellen), F.Zahl), F.Text)
        << F.Zahl << " mit " << F.Stellen << " Stellen";
  // Beyond 18 significant digits the expansion is cut, the integer digits stay complete.
  EXPECT_EQ(KommazahlAlsText(0, 1e300), "1" + std::string(16, '0') + "5" + std::string(283, '0'));
  EXPECT_EQ(KommazahlAlsText(2, 1e300).size(), 304u);
  EXPECT_EQ(Fehlertext([] { KommazahlAlsText(2, std::numeric_limits<double>::infinity()); }),
            "Gleitkommaüberlauf");
  EXPECT_EQ(Fehlertext([] { KommazahlAlsText(2, std::nan("")); }), "Ungültige Gleitkommaoperation");
}

TEST(Hilfen, MinimumMaximum) {
  EXPECT_EQ(Minimum(1.0, 2.0), 1.0);
  EXPECT_EQ(Minimum(2.0, 1.0), 1.0);
  EXPECT_EQ(Maximum(1.0, 2.0), 2.0);
  EXPECT_EQ(Maximum(2.0, 1.0), 2.0);
  // Equal values give b: visible with signed zeros.
  EXPECT_TRUE(std::signbit(Minimum(0.0, -0.0)));
  EXPECT_FALSE(std::signbit(Minimum(-0.0, 0.0)));
  EXPECT_TRUE(std::signbit(Maximum(0.0, -0.0)));
  EXPECT_FALSE(std::signbit(Maximum(-0.0, 0.0)));
}

TEST(Gleitkomma, Fehler) {
  EXPECT_EQ(Fehlertext([] { GleitkommaUeberlauf(); }), "Gleitkommaüberlauf");
  EXPECT_EQ(Fehlertext([] { GleitkommaUngueltig(); }), "Ungültige Gleitkommaoperation");
  EXPECT_EQ(Fehlertext([] { GleitkommaDivisionDurchNull(); }), "Gleitkommadivision durch Null");
  EXPECT_EQ(Fehlertext([] { Gk(std::numeric_limits<double>::infinity()); }), "Gleitkommaüberlauf");
  EXPECT_EQ(Fehlertext([] { Gk(-std::numeric_limits<double>::infinity()); }), "Gleitkommaüberlauf");
  EXPECT_EQ(Fehlertext([] { Gk(std::nan("")); }), "Ungültige Gleitkommaoperation");
  EXPECT_EQ(Fehlertext([] { GkTeilen(1.0, 0.0); }), "Gleitkommadivision durch Null");
  EXPECT_EQ(Fehlertext([] { GkTeilen(-1.0, -0.0); }), "Gleitkommadivision durch Null");
  EXPECT_EQ(Fehlertext([] { GkTeilen(0.0, 0.0); }), "Ungültige Gleitkommaoperation");
  EXPECT_EQ(Fehlertext([] { GkTeilen(1e308, 1e-308); }), "Gleitkommaüberlauf");
  EXPECT_EQ(GkTeilen(1.0, 4.0), 0.25);
  EXPECT_EQ(Gk(-2.5), -2.5);
}

}  // namespace
