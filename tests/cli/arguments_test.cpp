// The reading of command-line arguments all commands share, and the messages each command gives
// for the first fault of its arguments.
#include <gtest/gtest.h>

#include "batch_test_support.h"
#include "cli/commands.h"

namespace quoinry::cli {
namespace {

bool AcceptsOne(const std::string& value) {
    return value == "1";
}

const OptionSpec kOptions[] = {{"--out"}, {"--json", false}, {"--n", true, AcceptsOne}};

ParsedArguments Parse(const std::vector<std::string>& args, ArgumentRules rules = {}) {
    return ParseArguments(args, kOptions, rules);
}

void ExpectError(const ParsedArguments& parsed, ArgumentProblem problem, const std::string& arg) {
    ASSERT_TRUE(parsed.error.has_value()) << arg;
    EXPECT_EQ(parsed.error->problem, problem) << arg;
    EXPECT_EQ(parsed.error->argument, arg);
}

TEST(Arguments, ReadNamesFlagsAndValuesInAnyOrder) {
    const ParsedArguments parsed = Parse({"--json", "--out", "-x", "a", "--n", "1"});
    EXPECT_FALSE(parsed.error);
    EXPECT_EQ(parsed.positional, "a");
    ASSERT_NE(parsed.Value("--out"), nullptr);
    EXPECT_EQ(*parsed.Value("--out"), "-x");  // a value may start with a dash
    EXPECT_TRUE(parsed.Flag("--json"));
    EXPECT_FALSE(parsed.Flag("--out"));
    EXPECT_EQ(Parse({"-"}).positional, "-");  // standard input's name, not an option
}

TEST(Arguments, AnOptionGivenTwiceKeepsItsLastValue) {
    const ParsedArguments parsed = Parse({"--out", "o1", "a", "--out", "o2"});
    EXPECT_FALSE(parsed.error);
    EXPECT_EQ(*parsed.Value("--out"), "o2");
}

TEST(Arguments, NameTheFirstFaultInTheOrderGiven) {
    ExpectError(Parse({"a", "--out"}), ArgumentProblem::MissingValue, "--out");
    ExpectError(Parse({"a", "--out", ""}), ArgumentProblem::MissingValue, "--out");
    ExpectError(Parse({"a", "b", "--bogus"}), ArgumentProblem::ExtraPositional, "b");
    ExpectError(Parse({"--bogus", "a", "b"}), ArgumentProblem::UnknownOption, "--bogus");
    ExpectError(Parse({"-j", "--out"}), ArgumentProblem::UnknownOption, "-j");
    const ParsedArguments bad = Parse({"--n", "0", "--bogus"});
    ExpectError(bad, ArgumentProblem::BadValue, "--n");
    EXPECT_EQ(bad.error->value, "0");
    // The reading stops at the fault: nothing after it counts.
    EXPECT_FALSE(Parse({"--bogus", "--json"}).Flag("--json"));
}

TEST(Arguments, RulesForTheOlderSectionCommand) {
    const ArgumentRules section{"--", false};
    const ParsedArguments parsed = Parse({"-x", "--out", ""}, section);
    EXPECT_FALSE(parsed.error);
    EXPECT_EQ(parsed.positional, "-x");
    EXPECT_EQ(*parsed.Value("--out"), "");
    ExpectError(Parse({"-x", "--y"}, section), ArgumentProblem::UnknownOption, "--y");
}

TEST(DocumentFormatTable, EveryFormatHasAWriterAndOutputsFollowTheTable) {
    for (const DocumentFormat& format : DocumentFormats())
        EXPECT_TRUE(HasDocumentWriter(format.option)) << format.option;
    const std::vector<OptionSpec> options = WithDocumentOptions({});
    const DocumentOutputs outputs =
        DocumentOutputsOf(ParseArguments({"--pdf", "p.pdf", "--docx", "d.docx"}, options));
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs[0].option, "--docx");
    EXPECT_EQ(outputs[0].file, "d.docx");
    EXPECT_EQ(outputs[1].option, "--pdf");
    EXPECT_EQ(outputs[1].file, "p.pdf");
}

// The first line on standard error of each command for its arguments' first fault; exit 2.
TEST(CommandArguments, EachCommandNamesTheFirstFault) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"run a.ini --out", "quoinry run: --out needs a file or folder name"},
        {"run a.ini --docx ''", "quoinry run: --docx needs a file or folder name"},
        {"run a.ini b.ini --bogus", "quoinry run: more than one design file"},
        {"run --bogus a.ini b.ini", "quoinry run: unknown option '--bogus'"},
        {"run --json", "quoinry run: no design file given"},
        {"run a.ini --picture p.wmf", "quoinry run: --picture goes with --docx or --pdf"},
        {"document d --pdf", "quoinry document: --pdf needs a file name"},
        {"document d e --docx x", "quoinry document: more than one report folder given"},
        {"document --docx x.docx", "quoinry document: the report folder DIR is missing"},
        {"document d --picture x.wmf", "quoinry document: --docx FILE or --pdf FILE is missing"},
        {"document d --odt x", "quoinry document: unknown option '--odt'"},
        {"batch s.csv --jobs 0 --bogus",
         "quoinry batch: --jobs wants a whole number from 1 to 256, not '0'"},
        {"batch s.csv --out o --xlsx", "quoinry batch: --xlsx needs a value"},
        {"batch --out o", "quoinry batch: no schedule given"},
        {"section --bogus --help", "quoinry section: unexpected argument '--bogus'"},
        {"section d.dxf --region 0 --bogus",
         "quoinry section: --region needs a whole number from 1, not '0'"},
        {"section a.dxf b.dxf", "quoinry section: unexpected argument 'b.dxf'"},
        {"section --picture", "quoinry section: --picture needs a value"},
        {"section --region 2", "quoinry section: no drawing given"},
    };
    batch_testing::ScratchFolder folder;
    for (const auto& [arguments, message] : cases) {
        const batch_testing::Finished run = batch_testing::RunProgram(folder.path(), arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), message) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
    // Help asked for before the first fault wins.
    const batch_testing::Finished help = batch_testing::RunProgram(folder.path(), "section -h --x");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: quoinry section", 0), 0u);
}

}  // namespace
}  // namespace quoinry::cli
