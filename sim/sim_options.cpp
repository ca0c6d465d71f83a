#include "sim/sim_options.h"

#include "core/model/models.h"
#include "sim/hex_text.h"

#include <charconv>

namespace korvane::sim {

namespace {

// Decimal, or hexadecimal after "0x".
std::optional<long long> parseNumber(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc {} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<int> parseItem(std::string_view text)
{
    if (text.size() == 1 && ((text[0] >= '0' && text[0] <= '9') || text[0] == 'A' || text[0] == 'B'))
        return text[0] <= '9' ? text[0] - '0' : text[0] - 'A' + 10;
    const std::optional<long long> n = parseNumber(text);
    if (n && *n >= 0 && *n < kAlignmentItems) return static_cast<int>(*n);
    return std::nullopt;
}

} // namespace

std::variant<SimOptions, std::string> parseSimOptions(std::span<const std::string_view> args)
{
    SimOptions options;
    Faults& faults = options.radio.faults;
    bool sawModel = false;

    for (std::size_t k = 0; k < args.size(); ++k) {
        std::string_view name = args[k];
        std::optional<std::string_view> inlineValue;
        if (const std::size_t eq = name.find('='); name.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue) return inlineValue;
            if (k + 1 < args.size()) return args[++k];
            return std::nullopt;
        };
        // Reads a number in [low, high] into target; an error text when there is none.
        auto number = [&]<class T>(T& target, long long low, long long high) -> std::optional<std::string> {
            const std::optional<std::string_view> text = value();
            if (!text) return std::string(name) + " needs a value";
            const std::optional<long long> n = parseNumber(*text);
            if (!n || *n < low || *n > high)
                return std::string(name) + " takes a number from " + std::to_string(low) + " to " + std::to_string(high)
                    + ", not \"" + std::string(*text) + "\"";
            target = static_cast<T>(*n);
            return std::nullopt;
        };
        auto text = [&](std::string& out) -> std::optional<std::string> {
            const std::optional<std::string_view> v = value();
            if (!v || v->empty()) return std::string(name) + " needs a value";
            out = std::string(*v);
            return std::nullopt;
        };
        const bool takesValue = name == "--model" || name == "--file" || name == "--code" || name == "--version"
            || name == "--align-value" || name == "--link" || name == "--save" || name == "--log"
            || name == "--answer-on" || name == "--short" || name == "--drop-after" || name == "--completion"
            || name == "--store-wrong" || name == "--drop-during-program" || name == "--bursts" || name == "--jitter"
            || name == "--stray" || name == "--stray-at-open" || name == "--late" || name == "--late-first";
        if (inlineValue && !takesValue) return std::string(name) + " takes no value";

        if (name == "-h" || name == "--help") {
            options.help = true;
        } else if (name == "--model") {
            if (auto error = number(options.model, 0, model::kModelCount - 1)) return *error;
            sawModel = true;
        } else if (name == "--file") {
            std::string path;
            if (auto error = text(path)) return *error;
            options.file = path;
        } else if (name == "--older") {
            options.radio.generation = Generation::Older;
        } else if (name == "--newer") {
            options.radio.generation = Generation::Newer;
        } else if (name == "--code") {
            std::uint8_t code = 0;
            if (auto error = number(code, 0, 255)) return *error;
            options.code = code;
        } else if (name == "--version") {
            if (auto error = number(options.radio.version, 0, 255)) return *error;
        } else if (name == "--align-value") {
            std::string pair;
            if (auto error = text(pair)) return *error;
            const std::size_t eq = pair.find('=');
            const std::optional<int> item = eq == std::string::npos ? std::nullopt : parseItem(pair.substr(0, eq));
            const std::optional<long long> v
                = eq == std::string::npos ? std::nullopt : parseNumber(std::string_view(pair).substr(eq + 1));
            if (!item || !v || *v < 0 || *v > 255)
                return "--align-value takes ITEM=VALUE, item 0..11 (or 0..9, A, B), value 0..255, not \"" + pair + "\"";
            options.alignmentValues.emplace_back(*item, static_cast<std::uint8_t>(*v));
        } else if (name == "--link") {
            std::string path;
            if (auto error = text(path)) return *error;
            options.link = path;
        } else if (name == "--save") {
            std::string path;
            if (auto error = text(path)) return *error;
            options.save = path;
        } else if (name == "--log") {
            std::string path;
            if (auto error = text(path)) return *error;
            options.log = path;
        } else if (name == "--no-pace") {
            options.pace = false;
        } else if (name == "--once") {
            options.once = true;
        } else if (name == "--silent") {
            faults.silent = true;
        } else if (name == "--held") {
            faults.held = true;
        } else if (name == "--answer-on") {
            if (auto error = number(faults.answerOn, 1, 1000)) return *error;
        } else if (name == "--short") {
            std::size_t n = 0;
            if (auto error = number(n, 0, 1'000'000)) return *error;
            faults.shortStream = n;
        } else if (name == "--garbage") {
            faults.garbage = true;
        } else if (name == "--drop-after") {
            std::size_t n = 0;
            if (auto error = number(n, 0, 1'000'000)) return *error;
            faults.dropAfter = n;
        } else if (name == "--drop-during-program") {
            int n = 0;
            if (auto error = number(n, 1, 1000)) return *error;
            faults.dropDuringProgram = n;
        } else if (name == "--bursts" || name == "--jitter" || name == "--late" || name == "--late-first") {
            int ms = 0;
            if (auto error = number(ms, name == "--bursts" ? 1 : 0, 10'000)) return *error;
            if (name == "--bursts") options.bursts = std::chrono::milliseconds(ms);
            if (name == "--jitter") options.jitter = std::chrono::milliseconds(ms);
            if (name == "--late" || name == "--late-first") {
                faults.lateBy = std::chrono::milliseconds(ms);
                faults.lateFirstOnly = name == "--late-first";
            }
        } else if (name == "--stray" || name == "--stray-at-open") {
            std::uint8_t stray = 0;
            if (auto error = number(stray, 0, 255)) return *error;
            (name == "--stray" ? faults.strayBeforeAnswer : faults.strayAtOpen) = stray;
        } else if (name == "--completion") {
            const std::optional<std::string_view> v = value();
            if (!v) return std::string("--completion needs a value (\"\" for no reply)");
            const std::optional<std::vector<std::uint8_t>> bytes = parseHexBytes(*v);
            if (!bytes) return "--completion takes hexadecimal bytes such as 4F4B, not \"" + std::string(*v) + "\"";
            options.radio.completion = *bytes;
        } else if (name == "--store-wrong") {
            std::string where;
            if (auto error = text(where)) return *error;
            const std::size_t colon = where.find(':');
            const std::optional<long long> area
                = colon == std::string::npos ? std::nullopt : parseNumber(std::string_view(where).substr(0, colon));
            const std::optional<long long> address
                = colon == std::string::npos ? std::nullopt : parseNumber(std::string_view(where).substr(colon + 1));
            if (!area || !address || *area < 0 || *area > 255 || *address < 0 || *address > 255)
                return "--store-wrong takes AREA:ADDRESS, each 0..255, such as 0:0x25, not \"" + where + "\"";
            faults.storeWrong = MemoryByte { static_cast<std::uint8_t>(*area), static_cast<std::uint8_t>(*address) };
        } else {
            return "unknown option \"" + std::string(args[k]) + "\" (see --help)";
        }
    }
    if (sawModel && options.file) return std::string("--model and --file cannot be used together");
    return options;
}

std::string simHelpText()
{
    return R"(Usage: korvane-radio-sim [OPTION]...
Plays an MX-310/320/330 handheld radio on a pseudo-terminal, from the radio's side of the cable.
The first line on standard output is the device to open as the radio's port (each later line is
a new device after a dropped line). Runs until interrupted (SIGINT, SIGTERM), or with --once
until one exchange is over.

The radio
  --model N          start from the defaults of model index N, 0..6 (default 0)
  --file PATH        start from a data file (rdw, rdh or rdhax) instead
  --newer            a newer radio (default): handshake reply is the model code and the version
                     byte; frequencies in the image form; 684-byte read-out of 57 records
                     (32 channel halves, settings at 00 08 10 18, 20 parameter halves, model)
  --older            an older radio: handshake reply is the model code alone; frequencies in the
                     5 kHz form; 420-byte read-out of 35 records (32 channel halves, settings at
                     00 08, model)
                     After "pROGRAM" the radio stores records until it has 35 (older) or 56
                     (newer), or until 0.5 s of quiet after at least one, then replies "OK"
  --code C           the model code the radio holds and reports, 0..255 (default: the model's);
                     programming replaces it with the code the program writes, as in a radio
  --version V        the version byte of a newer radio, 0..255 (default 1), sent after the
                     model code in its handshake and alignment replies; an older radio sends none
  --align-value I=V  alignment item I (0..11, or 0..9, A, B) starts at V (default 128 for all);
                     "tEST0".."tESTB" start an item, adjust packets change its value, "END"
                     keeps the value and "CANCEL" (or another item, or a closed port) restores it

The line
  --link PATH        also reach the device through the symbolic link PATH (removed at exit)
  --no-pace          send at once; by default every byte takes its time at 9600 baud with
                     11 bits a byte, in both directions
  --once             exit after one exchange: a read-out sent, a programming run answered, an
                     item adjustment ended or a line dropped
  --save PATH        after every programming run, and at exit, write what the radio holds as a
                     data file; the kind follows the extension (rdw, rdh, rdhax)
  --log PATH         log every packet heard and sent, in hexadecimal with the seconds since
                     start (when heard in full, or when queued to send); "-" for standard error

A real cable (each off by default)
  --bursts MS        hand the radio's bytes on in bursts every MS ms (1..10000), as a USB
                     adapter's latency timer does (16 ms on many): an answer can be cut in two
  --jitter MS        with --bursts, each burst up to MS ms late, as on a busy computer
  --stray B          one stray byte B (0..255, or 0x00..0xFF), 25 ms before the radio's first
                     answer after the port opens, as a glitch of the line
  --stray-at-open B  one stray byte B as the port opens, as when a radio is switched on or a
                     cable plugged in; an answer keeps 25 ms from it
  --late MS          answer every handshake command ("rEAD", "pROGRAM", "tEST0".."tESTB") MS ms
                     late; a command sent again before that gets its own answer too
  --late-first MS    only the first answer after the port opens comes MS ms late

Faults
  --silent           never answer a handshake
  --held             keep the device open here too, as another program holding it would
  --answer-on N      answer only the N-th handshake command of an exchange (a run of attempts
                     ends after 0.5 s of quiet or when the program closes the port)
  --short N          send only the first N bytes of the read-out
  --garbage          send a read-out of the right length (420 or 684 bytes) of noise that holds
                     no record start byte (57)
  --drop-after N     after N bytes of the read-out, hang up: the device goes away (the program
                     sees an error on its open port: poll reports a hang-up and reads fail) and
                     the radio comes back on a new device, printed on a new line and pointed to
                     by the --link path
  --drop-during-program N
                     after storing N records of a programming run (1..1000), hang up as
                     --drop-after does: the records stored so far stay, the rest never
                     arrive and no completion reply is sent
  --completion HEX   the reply after programming instead of 4F4B ("OK"), such as 4F (one byte),
                     4B4F, or "" for no reply
  --store-wrong AREA:ADDRESS
                     when programmed, keep the byte that records address as AREA:ADDRESS with its
                     lowest bit flipped, so that a read-back differs there: 0:0x25 is channel
                     record 2 (the program's channel 3) byte 5, 2:0x07 settings byte 7, 2:0x2F
                     parameter record 0 byte 15, 3:0xD8 the model code. An older radio's channel
                     bytes are flipped in the 5 kHz form they arrive in
  -h, --help         show this text
)";
}

} // namespace korvane::sim
