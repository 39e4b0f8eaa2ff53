// cvq9-tool: the editor's file work without a window, for scripts. Each
// command reads its files into the configuration tables through the same
// units as the editor, checks by the same rules with the same messages, and
// writes with the same safe save; nothing is written over an input file.
//
// Exit status: 0 done, 1 a check failed (nothing written) or the libraries
// differ, 2 bad usage, an unreadable or damaged input, or an output that
// could not be written.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "assignment_checks.h"
#include "config_compare.h"
#include "config_tables.h"
#include "legacy_import.h"
#include "library_file.h"
#include "record_access.h"
#include "safe_file_writer.h"
#include "sysex_file.h"
#include "text_summary.h"

namespace {

constexpr int kDone = 0, kFailed = 1, kBadInput = 2;

const char kUsage[] = "Usage: cvq9-tool COMMAND [OPTIONS] FILES\n"
                      "Checks, converts, summarises and compares Corvana Q9 library files.\n"
                      "\n"
                      "  check FILE.cvq [--groups A-B]        the firmware's checks; each failing control\n"
                      "                                       with the editor's message\n"
                      "  convert IN OUT.cvq [--groups A-B]    a library of before version 1.4, or a\n"
                      "                                       Corvana Pro library (*.cvl), to a library\n"
                      "  summary FILE.cvq [-o OUT.txt]        the editor's text summary (to standard output)\n"
                      "  diff A.cvq B.cvq [--groups A-B]      the differences by group, control and field;\n"
                      "  diff FILE.cvq                        with one file, every field that is set\n"
                      "  syx export FILE.cvq OUT.syx [--firmware V]\n"
                      "                                       the messages of a download of everything\n"
                      "  syx import FILE.syx OUT.cvq          the controller's writes in a SysEx file,\n"
                      "                                       applied to a new library\n"
                      "  --help, --version\n"
                      "\n"
                      "--groups A-B: groups A to B only (0 to 20; the transport buttons come with\n"
                      "group 0), all by default. A command that writes checks first and writes nothing\n"
                      "when a check fails. --firmware: 1.4, 1.5 or 1.6 (the default).\n"
                      "Exit status: 0 done, 1 a check failed or the files differ, 2 bad input.\n";

struct Arguments {
    std::vector<std::string> files;
    int first_group = 0;
    int last_group = GROUP_NB - 1;
    std::string output;     // -o
    float firmware = 1.6f;  // --firmware
};

int Fail(const std::string &text)
{
    std::fprintf(stderr, "cvq9-tool: %s\n", text.c_str());
    return kBadInput;
}

int UsageError(const std::string &text)
{
    std::fprintf(stderr, "cvq9-tool: %s\nTry 'cvq9-tool --help'.\n", text.c_str());
    return kBadInput;
}

// The editor's messages span lines; a script reads one line per failure.
std::string OneLine(const std::string &text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += !line.empty() && line.back() == ':' ? " " : ": ";
        else
            line += c;
    }
    return line;
}

bool EndsWith(std::string text, const std::string &end)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Every control of the group range that fails the checks, in the order of
// the editor's whole check, each with the editor's message.
unsigned ReportFailures(std::FILE *out, const std::string &file, const Arguments &args)
{
    unsigned failures = 0;
    auto check = [&](unsigned group, unsigned control) {
        const uint8_t code = CheckStoredControl(group, control);
        if (code == 0)
            return;
        ++failures;
        std::fprintf(out, "%s: %s\n", file.c_str(), OneLine(StoredControlMessage(code, group, control)).c_str());
    };
    if (args.first_group == 0)
        for (unsigned t = 0; t < TRANSPORT_NB; ++t)
            check(0, t);
    for (int g = args.first_group; g <= args.last_group; ++g)
        for (unsigned c = FIRST_GROUP_CONTROL; c <= LAST_CONTROL_INDEX; ++c)
            check(static_cast<unsigned>(g), c);
    return failures;
}

// Reads a library of either layout into the tables; an empty text when it
// was read whole, otherwise the problem. The editor reads a damaged file as
// far as it goes; a script is told instead.
std::string ReadLibrary(const std::string &path, LibraryLayout &layout)
{
    const LibraryLoadResult result = LoadLibraryFile(path);
    if (result.status != LibraryFileStatus::Ok)
        return result.message;
    layout = result.layout;
    if (result.whole)
        return std::string();
    struct stat info {};
    stat(path.c_str(), &info);
    return path + ": not a library file (" + std::to_string(info.st_size) + " bytes, where a library holds " +
           std::to_string(LIBRARY_IMAGE_SIZE) + ", or " + std::to_string(PRE14_LIBRARY_IMAGE_SIZE) +
           " before version 1.4)";
}

std::string ReadLibrary(const std::string &path)
{
    LibraryLayout layout;
    return ReadLibrary(path, layout);
}

// An output may not be one of the inputs, under whatever name.
std::string OutputProblem(const std::string &output, const std::vector<std::string> &inputs)
{
    struct stat out {};
    if (stat(output.c_str(), &out) != 0)
        return std::string();
    for (const std::string &input : inputs) {
        struct stat in {};
        if (stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
            return output + ": is an input file; nothing was written";
    }
    return std::string();
}

// The tables saved as a library, only when the group range passes the
// checks, as the editor saves.
int SaveChecked(const std::string &source, const std::string &output, const Arguments &args)
{
    if (ReportFailures(stderr, source, args) != 0)
        return kFailed;
    const LibrarySaveResult saved = SaveLibraryFile(output);
    return saved.status == LibraryFileStatus::Ok ? kDone : Fail(saved.message);
}

int Check(const Arguments &args)
{
    const std::string &file = args.files[0];
    const std::string problem = ReadLibrary(file);
    if (!problem.empty())
        return Fail(problem);
    return ReportFailures(stdout, file, args) == 0 ? kDone : kFailed;
}

int Convert(const Arguments &args)
{
    const std::string &input = args.files[0], &output = args.files[1];
    if (EndsWith(input, ".cvl")) {
        // The import writes over a new library, as the editor's New then Import.
        ResetConfiguration(0);
        const LegacyImportResult imported = ImportCvProLibraryFile(input, [&input](uint8_t group, uint8_t control) {
            const uint8_t code = CheckStoredControl(group, control);
            if (code != 0)
                std::fprintf(stderr, "%s: %s\n", input.c_str(),
                             OneLine(StoredControlMessage(code, group, control)).c_str());
            return code;
        });
        if (imported.status == LEGACY_IMPORT_CANNOT_OPEN)
            return Fail(imported.message);
        if (imported.status != 0)
            return kFailed;
        if (imported.entries_imported == 0)
            return Fail(input + ": not a Corvana Pro library (no control line)");
    } else {
        LibraryLayout layout = LibraryLayout::Current;
        const std::string problem = ReadLibrary(input, layout);
        if (!problem.empty())
            return Fail(problem);
        if (layout == LibraryLayout::Pre14) {
            const std::string notice = LIBRARY_CONVERSION_NOTICE;
            std::printf("%s: %s: converted\n", input.c_str(), notice.substr(0, notice.find('\n')).c_str());
        }
    }
    return SaveChecked(input, output, args);
}

// The path the summary names, full as the editor's file dialog gives it.
std::string FullPath(const std::string &path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char *folder = getcwd(nullptr, 0);
    const std::string full = folder ? std::string(folder) + "/" + path : path;
    std::free(folder);
    return full;
}

int Summary(const Arguments &args)
{
    const std::string &file = args.files[0];
    const std::string problem = ReadLibrary(file);
    if (!problem.empty())
        return Fail(problem);
    if (ReportFailures(stderr, file, args) != 0)
        return kFailed;
    const std::string text = BuildTextSummary(FullPath(file), CurrentIsoDate());
    if (args.output.empty())
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? kDone : kBadInput;
    return WriteWholeFileSafely(args.output, text.data(), text.size()) ? kDone
                                                                       : Fail("Unable to create " + args.output);
}

std::string DifferenceRow(const ConfigDifference &row)
{
    std::string place = row.group == "-" ? std::string() : "Group " + row.group;
    for (const std::string &part : {row.control, row.field_name})
        if (!part.empty())
            place += (place.empty() ? "" : " / ") + part;
    return place + ": ";
}

// With two files, the fields that differ (as the controller would hold
// them); with one, every field set in it, compared with a new library: a
// listing whose line differences are the field differences, for git.
int Diff(const Arguments &args)
{
    std::vector<ConfigImage> images;
    if (args.files.size() == 1) {
        ResetConfiguration(0);
        images.push_back(ConfigImage::OfTables());
    }
    for (const std::string &file : args.files) {
        const std::string problem = ReadLibrary(file);
        if (!problem.empty())
            return Fail(problem);
        images.push_back(ConfigImage::OfTables());
    }
    const std::vector<ConfigDifference> rows =
        CompareImages(images[0], images[1], LibraryParts(args.first_group, args.last_group), args.firmware);
    for (const ConfigDifference &row : rows) {
        if (args.files.size() == 1)
            std::printf("%s%s\n", DifferenceRow(row).c_str(), row.controller_value.c_str());
        else
            std::printf("%s%s -> %s\n", DifferenceRow(row).c_str(), row.editor_value.c_str(),
                        row.controller_value.c_str());
    }
    return args.files.size() == 2 && !rows.empty() ? kFailed : kDone;
}

int SyxExport(const Arguments &args)
{
    const std::string &file = args.files[0], &output = args.files[1];
    const std::string problem = ReadLibrary(file);
    if (!problem.empty())
        return Fail(problem);
    if (ReportFailures(stderr, file, args) != 0)
        return kFailed;
    const SysexExport image = BuildSysexExport(args.firmware);
    if (image.refused != SysexExport::Refused::Nothing) {
        const bool control = image.refused == SysexExport::Refused::Control;
        if (control && image.code != 0)
            return Fail(file + ": " + OneLine(StoredControlMessage(image.code, image.group, image.item)));
        return Fail(file + ": Group " + std::to_string(image.group) + (control ? " - Control " : " - Parameter ") +
                    std::to_string(image.item) + ": cannot be sent to the controller");
    }
    const std::string error = SaveSysexFile(output, image.bytes);
    return error.empty() ? kDone : Fail(error);
}

int SyxImport(const Arguments &args)
{
    const std::string &file = args.files[0], &output = args.files[1];
    ResetConfiguration(0);
    const SysexFileImport imported = ImportSysexFile(file);
    if (!imported.ok)
        return Fail(imported.message);
    if (imported.counts.applied == 0)
        return Fail(file + ": no write of this controller in it; " + SysexImportReport(imported.counts));
    std::printf("%s: %s\n", file.c_str(), SysexImportReport(imported.counts).c_str());
    return SaveChecked(file, output, args);
}

struct Command {
    const char *name;
    int (*run)(const Arguments &);
    size_t min_files, max_files;
    std::set<std::string> options;  // the options it takes
    size_t outputs;                 // how many of the last files are outputs
};

const Command kCommands[] = {
    {"check", Check, 1, 1, {"--groups"}, 0},
    {"convert", Convert, 2, 2, {"--groups"}, 1},
    {"summary", Summary, 1, 1, {"--groups", "-o"}, 0},
    {"diff", Diff, 1, 2, {"--groups", "--firmware"}, 0},
    {"syx export", SyxExport, 2, 2, {"--groups", "--firmware"}, 1},
    {"syx import", SyxImport, 2, 2, {"--groups"}, 1},
};

bool ParseGroups(const std::string &text, Arguments &args)
{
    int first = -1, last = -1;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d-%d%c", &first, &last, &end) != 2)
        return false;
    args.first_group = first;
    args.last_group = last;
    return first >= 0 && first <= last && last < static_cast<int>(GROUP_NB);
}

bool ParseFirmware(const std::string &text, Arguments &args)
{
    if (text != "1.4" && text != "1.5" && text != "1.6")
        return false;
    args.firmware = std::stof(text);
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty())
        return UsageError("no command");
    if (words[0] == "--help" || words[0] == "-h") {
        std::fputs(kUsage, stdout);
        return kDone;
    }
    if (words[0] == "--version") {
        std::printf("cvq9-tool %s\n", CVQ9_TOOL_VERSION);
        return kDone;
    }
    std::string name = words[0];
    size_t next = 1;
    if (name == "syx" && words.size() > 1) {
        name += " " + words[1];
        next = 2;
    }
    const Command *command = nullptr;
    for (const Command &c : kCommands)
        if (name == c.name)
            command = &c;
    if (command == nullptr)
        return UsageError("unknown command '" + name + "'");

    Arguments args;
    for (size_t i = next; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (word.size() < 2 || word[0] != '-') {
            args.files.push_back(word);
            continue;
        }
        if (!command->options.count(word))
            return UsageError(name + ": unknown option '" + word + "'");
        if (i + 1 == words.size())
            return UsageError(word + " needs a value");
        const std::string &value = words[++i];
        if (word == "--groups" && !ParseGroups(value, args))
            return UsageError("--groups takes A-B with 0 <= A <= B <= 20, not '" + value + "'");
        if (word == "--firmware" && !ParseFirmware(value, args))
            return UsageError("--firmware takes 1.4, 1.5 or 1.6, not '" + value + "'");
        if (word == "-o")
            args.output = value;
    }
    if (args.files.size() < command->min_files || args.files.size() > command->max_files)
        return UsageError(name + ": wrong number of files");

    std::vector<std::string> inputs(args.files.begin(), args.files.end() - static_cast<long>(command->outputs));
    std::vector<std::string> outputs(args.files.end() - static_cast<long>(command->outputs), args.files.end());
    if (!args.output.empty())
        outputs.push_back(args.output);
    for (const std::string &output : outputs) {
        const std::string problem = OutputProblem(output, inputs);
        if (!problem.empty())
            return Fail(problem);
    }
    return command->run(args);
}
