// Fault-slip files read as published tools write them: detected columns and
// delimiters, each datum as plane and rake worked by hand, and each skipped
// or changed row's message.

#include "tables/fault_slip_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_names.h"

namespace tables {
namespace {

/// A datum as "id dd/dip rake", rake to 6 digits.
std::string Text(const analysis::FaultSlip& fault) {
  char text[96];
  std::snprintf(text, sizeof text, "%.6g/%.6g %.6g", fault.dipDirection, fault.dip,
                analysis::RakeOf(fault));
  return (fault.id.empty() ? "" : fault.id + " ") + text;
}

struct FileRow {
  const char* name;
  std::string text;
  char delimiter;
  std::string note;
  std::vector<std::string> faults;
  std::vector<std::string> messages;
};

const FileRow kFiles[] = {
    {"comma strike dip rake",
     "strike,dip,rake\n0,60,-90\n45,30,120\n",
     ',',
     "",
     {"90/60 -90", "135/30 120"},
     {}},
    {"semicolons and decimal commas",
     "Dip direction (deg);Dip;Rake\n90;60,5;-90\n",
     ';',
     "",
     {"90/60.5 -90"},
     {}},
    {"tabs, CRLF and a byte-order mark",
     "\xEF\xBB\xBFid\tstrike\tdip\trake\r\nF1\t0\t60\t270\r\n",
     '\t',
     "",
     {"F1 90/60 -90"},
     {}},
    {"header in a comment",
     "# site 3\n# strike dip rake\n0 60 -90\n\n45  30\t120\n",
     ' ',
     "columns named by the comment on line 2",
     {"90/60 -90", "135/30 120"},
     {}},
    {"comment header and ids",
     "# strike dip rake\nF1 0 60 -90\n",
     ' ',
     "columns named by the comment on line 1",
     {"F1 90/60 -90"},
     {}},
    {"no header",
     "0 60 -90\n",
     ' ',
     "no header: the columns are read as strike, dip, rake",
     {"90/60 -90"},
     {}},
    {"unnamed first column and other columns",
     ",strike,dip,rake,comment\n7,0,60,-90,good\n",
     ',',
     "",
     {"7 90/60 -90"},
     {}},
    // The second striae lie 1.90 degrees off the plane; projected, their
    // rake is -92.6486 (worked by hand).
    {"striae with sense",
     "dip_direction,dip,trend,plunge,sense\n90,60,90,60,N\n90,60,95,58,normal\n",
     ',',
     "",
     {"90/60 -90", "90/60 -92.6486"},
     {"line 3: the striae lie 1.9\u00b0 off the plane and are taken projected onto it"}},
    {"quadrant notation",
     "strike,dip,rake,sense\nN45E,30SE,60NE,R\n090,30S,180,N\n",
     ',',
     "",
     {"135/30 120", "180/30 -90"},
     {}},
    {"damaged rows",
     "strike,dip,rake,sense\n0,95,-90\n,60,-90\n0,60\n0,abc,10\n\"0,60,-90\n400,60,-90\n"
     "0,60S,80N,X\n0,60E,80N\n",
     ',',
     "",
     {"130/60 -90"},
     {"line 2: dip 95 is outside 0 to 90", "line 3: strike is missing", "line 4: rake is missing",
      "line 5: dip 'abc' is not a number", "line 6: a quoted field is not closed",
      "line 7: strike 400 is taken as 40", "line 8: sense 'X' is not N, R, I, D or S",
      "line 9: quadrant notation needs a sense (a sense column or the file's)"}},
    {"striae too far off",
     "dd,dip,trend,plunge,sense\n90,60,90,75,N\n90,60,0,0,N\n",
     ',',
     "",
     {},
     {"line 2: the striae lie 15.0\u00b0 off the plane; at most 10\u00b0 is accepted",
      "line 3: the striae lie along the strike: a normal or reverse sense cannot orient them"}},
};

class FaultSlipFiles : public ::testing::TestWithParam<FileRow> {};

TEST_P(FaultSlipFiles, ReadAsDetected) {
  const FileRow& row = GetParam();
  const FaultSlipReading reading = DetectFaultSlipReading(row.text);
  EXPECT_EQ(reading.delimiter, row.delimiter);
  EXPECT_EQ(reading.note, row.note);
  const FaultSlipImport read = ReadFaultSlips(row.text, reading);
  EXPECT_EQ(read.error, "");
  std::vector<std::string> faults;
  for (const analysis::FaultSlip& fault : read.faults)
    faults.push_back(Text(fault));
  EXPECT_EQ(faults, row.faults);
  EXPECT_EQ(read.messages, row.messages);
  EXPECT_EQ(read.lines.size(), read.faults.size());
  EXPECT_FALSE(read.cancelled);
}

INSTANTIATE_TEST_SUITE_P(Files, FaultSlipFiles, ::testing::ValuesIn(kFiles), test_names::RowName());

TEST(FaultSlipReader, FileSenseServesQuadrantRows) {
  const std::string text = "strike dip rake\n000 60E 90N\n";
  FaultSlipReading reading = DetectFaultSlipReading(text);
  EXPECT_EQ(ReadFaultSlips(text, reading).skipped, 1u);
  reading.sense = analysis::SlipSense::kReverse;
  const FaultSlipImport read = ReadFaultSlips(text, reading);
  ASSERT_EQ(read.faults.size(), 1u);
  EXPECT_EQ(Text(read.faults[0]), "90/60 90");
  EXPECT_EQ(read.lines, std::vector<std::size_t>{2});
}

TEST(FaultSlipReader, ColumnsOfNoNotationAreAnError) {
  const std::string text = "dip_direction,dip,phi\n90,60,30\n";
  const FaultSlipImport read = ReadFaultSlips(text, DetectFaultSlipReading(text));
  EXPECT_NE(read.error, "");
  EXPECT_TRUE(read.faults.empty());
}

TEST(FaultSlipReader, CancelStopsEarly) {
  std::string text = "strike,dip,rake\n";
  for (int i = 0; i < 10000; ++i)
    text += "10,60,-90\n";
  const FaultSlipImport read =
      ReadFaultSlips(text, DetectFaultSlipReading(text), [](std::size_t) { return false; });
  EXPECT_TRUE(read.cancelled);
  EXPECT_LT(read.faults.size(), 10000u);
}

}  // namespace
}  // namespace tables
