#include "sim_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "dynamics/thread_count.h"
#include "state/named_parameters.h"
#include "state/number_text.h"

namespace zentrova {

namespace {
const std::string kUsageText =
    "usage:\n"
    "  zentrova-sim forces IN [--taoscope] [--pe-out] [--pes1-out] [--pes2-out] [--threads T]\n"
    "  zentrova-sim run IN -n STEPS [-o OUT.lis1 [--checkpoint K [--resume]]] [--dt DT] [--taoscope] [--cool]\n"
    "               [--blockade] [--pe-out] [--pes1-out] [--pes2-out] [--csv TRAJ.csv] [--xyz TRAJ.xyz]\n"
    "               [--every K] [--start-step N] [--max-time DURATION] [--reference] [--threads T] [--summary]\n"
    "               [--integrator verlet]\n"
    "  zentrova-sim observe IN -n STEPS [--every K] [--start-step N] [--taoscope] [--cool] [--blockade]\n"
    "               [--pe-out] [--pes1-out] [--pes2-out] [--threads T] [--integrator verlet]\n"
    "  zentrova-sim rdf IN [--bins N] [--range R] [--pairs PE-PES1,...]   (every frame of an XYZ file)\n"
    "  forces, run, observe and convert take --set NAME=VALUE (NAME: " +
    parameterNameList() +
    ")\n"
    "  zentrova-sim convert IN OUT [--taoscope] [--start-step N]   (OUT .lis1 or .xyz, by its extension)\n"
    "  zentrova-sim bench [IN] [-n STEPS] [--warm STEPS] [--threads T]\n"
    "  zentrova-sim render IN -o OUT.png [--size WxH] [--taoscope] [--numbers] [--trails STEPS] [--threads T]\n"
    "  IN is a .lis1 set or an extended XYZ file (its last frame), told by its content\n"
    "  zentrova-sim --help | --version\n";
}  // namespace

const char* const kUsage = kUsageText.c_str();

const char* const kRenderUsage =
    "usage: zentrova-sim render IN -o OUT.png [--size WxH] [--taoscope] [--numbers] [--trails STEPS]\n"
    "       [--threads T]\n";

namespace {

constexpr int kMinSide = 16, kMaxSide = 8192;

// A count of an option, 64-bit; the message names the option.
std::int64_t parseCount(const char* option, const std::string& text, std::int64_t least, const char* usage,
                        std::int64_t most = std::numeric_limits<std::int64_t>::max()) {
  std::int64_t v = 0;
  if (readMachineInt(text, v) && v >= least && v <= most) return v;
  // A number, only too large or too small for the option.
  std::string_view digits(text);
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos)
    throw UsageError{std::string(option) + ": '" + text + "' is out of range", usage};
  throw UsageError{std::string(option) + ": '" + text + "' is not a valid integer value", usage};
}

void parseSize(const std::string& text, Options& o) {
  const auto x = text.find('x');
  if (x == std::string::npos) throw UsageError{"--size needs WxH, not '" + text + "'", kRenderUsage};
  const int w = parseInt(text.substr(0, x)), h = parseInt(text.substr(x + 1));
  if (w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide)
    throw UsageError{"'" + text + "' is out of range", kRenderUsage};
  o.width = w;
  o.height = h;
}

// The text of each option with a value, read into numbers once CLI11 has
// taken the line apart, so that their messages stay the program's own.
struct Texts {
  std::optional<std::string> in, out, n, every, checkpoint, startStep, dt, threads, size, trails, maxTime, warm;
  std::vector<std::optional<std::string>> trajectories;  // one a format of fileFormats()
  std::optional<std::string> integrator, bins, range, pairs;
  std::vector<std::string> sets;
};

}  // namespace

std::optional<double> parseDuration(const std::string& text) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front()))) return std::nullopt;
  double unit = 1;
  std::string number = text;
  switch (text.back()) {
    case 's': unit = 1; break;
    case 'm': unit = 60; break;
    case 'h': unit = 3600; break;
    case 'd': unit = 86400; break;
    default: break;
  }
  if (!std::isdigit(static_cast<unsigned char>(text.back()))) number.pop_back();
  // Digits with at most one point, read by the one reader of numbers.
  Real v = 0;
  if (number.find_first_not_of("0123456789.") != std::string::npos || std::count(number.begin(), number.end(), '.') > 1 ||
      number.back() == '.' || !readMachineReal(number, v) || !(v > 0) || v * unit > 1e12)
    return std::nullopt;
  return double(v * unit);
}

Options parseOptions(int argc, char** argv) {
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (arg == "--help" || arg == "-h") throw InfoRequest{kUsage};
    if (arg == "--version") throw InfoRequest{"zentrova-sim " ZENTROVA_VERSION "\n"};
  }
  if (argc < 2) throw UsageError{};
  Options o;
  o.command = argv[1];
  const std::string& c = o.command;
  const bool isRun = c == "run", isBench = c == "bench", isObserve = c == "observe", isConvert = c == "convert";
  const bool isForces = c == "forces", isRender = c == "render", runs = isRun || isObserve, isRdf = c == "rdf";
  if (!isRun && !isBench && !isObserve && !isConvert && !isForces && !isRender && !isRdf)
    throw UsageError{"unknown command '" + c + "'"};
  const char* usage = isRender ? kRenderUsage : kUsage;

  CLI::App app{"zentrova-sim"};
  app.set_help_flag();
  CLI::App* cmd = app.add_subcommand(c);
  cmd->set_help_flag();
  // A later value of an option wins, as it always has.
  cmd->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  Texts t;
  ForceSwitches& sw = o.controls.forces;
  cmd->add_option("IN", t.in);
  if (isConvert) cmd->add_option("OUT", t.out);
  if (!isBench) cmd->add_flag("--taoscope", sw.taoscope);
  if (runs || isForces) {
    cmd->add_flag("--pe-out", sw.peOut);
    cmd->add_flag("--pes1-out", sw.pes1Out);
    cmd->add_flag("--pes2-out", sw.pes2Out);
  }
  if (runs) {
    cmd->add_flag("--cool", o.controls.cool);
    cmd->add_flag("--blockade", o.controls.blockade);
    cmd->add_option("--every", t.every);
    cmd->add_option("--integrator", t.integrator);
  }
  if (isRdf) {
    cmd->add_option("--bins", t.bins);
    cmd->add_option("--range", t.range);
    cmd->add_option("--pairs", t.pairs);
  }
  if (runs || isBench) cmd->add_option("-n", t.n);
  if (isBench) cmd->add_option("--warm", t.warm);
  if (runs || isConvert) cmd->add_option("--start-step", t.startStep);
  if (isRun || isRender) cmd->add_option("-o", t.out);
  if (isRun) {
    cmd->add_option("--dt", t.dt);
    t.trajectories.resize(fileFormats().size());
    for (std::size_t f = 0; f < fileFormats().size(); ++f)
      if (fileFormats()[f].frame) cmd->add_option(std::string("--") + fileFormats()[f].name, t.trajectories[f]);
    cmd->add_option("--checkpoint", t.checkpoint);
    cmd->add_flag("--resume", o.resume);
    cmd->add_option("--max-time", t.maxTime);
    cmd->add_flag("--reference", o.reference);
    cmd->add_flag("--summary", o.summary);
  }
  if (!isBench && !isRender && !isRdf)
    cmd->add_option("--set", t.sets)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  if (!isConvert && !isRdf) cmd->add_option("--threads", t.threads);
  if (isRender) {
    cmd->add_option("--size", t.size);
    cmd->add_option("--trails", t.trails);
    cmd->add_flag("--numbers", o.numbers);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    throw UsageError{e.what(), usage};
  }

  o.in = t.in, o.out = t.out;
  for (std::size_t f = 0; f < t.trajectories.size(); ++f)
    if (t.trajectories[f]) o.trajectories.push_back({&fileFormats()[f], *t.trajectories[f]});
  // bench counts its steps in int, ten fast ones to each literal one.
  if (t.n) o.steps = parseCount("-n", *t.n, 0, usage, isBench ? 100000000 : std::numeric_limits<std::int64_t>::max());
  if (t.every) o.every = parseCount("--every", *t.every, 1, usage);
  if (t.warm) o.warm = parseCount("--warm", *t.warm, 0, usage);
  if (t.checkpoint) o.checkpoint = parseCount("--checkpoint", *t.checkpoint, 1, usage);
  if (t.startStep) o.startStep = parseCount("--start-step", *t.startStep, 0, usage);
  if (o.steps && *o.steps > std::numeric_limits<std::int64_t>::max() - o.startStep)
    throw UsageError{"--start-step and -n: the last step is beyond 9223372036854775807", usage};
  if (t.maxTime) {
    o.maxSeconds = parseDuration(*t.maxTime);
    if (!o.maxSeconds) throw UsageError{"--max-time: '" + *t.maxTime + "' is not a duration such as 3600, 90m or 2h"};
  }
  if (t.dt) o.dt = parseReal(*t.dt, '.');
  for (const std::string& s : t.sets) o.settings.push_back(parseSetting(s));
  if (t.size) parseSize(*t.size, o);
  if (t.trails) o.trailSteps = int(parseCount("--trails", *t.trails, 0, usage, std::numeric_limits<int>::max()));
  if (t.integrator) {
    if (*t.integrator != "verlet" && *t.integrator != "euler")
      throw UsageError{"--integrator is euler (the default) or verlet, not '" + *t.integrator + "'"};
    o.controls.verlet = *t.integrator == "verlet";
  }
  if (t.bins) o.bins = int(parseCount("--bins", *t.bins, 1, usage, 1 << 24));
  if (t.range) {
    o.range = parseReal(*t.range, '.');
    if (!(*o.range > 0) || !std::isfinite(*o.range)) throw UsageError{"'" + *t.range + "' is out of range"};
  }
  if (t.pairs) {
    std::string list = *t.pairs;
    for (std::size_t at = 0; at <= list.size();) {
      const std::size_t comma = std::min(list.find(',', at), list.size());
      try {
        o.pairs.push_back(parseGroupPair(list.substr(at, comma - at)));
      } catch (const std::invalid_argument& e) {
        throw UsageError{e.what()};
      }
      at = comma + 1;
    }
  }

  if (!isBench && !o.in) throw UsageError{"no input file", usage};
  if (runs && !o.steps) throw UsageError{c + " needs -n STEPS"};
  if (isConvert && !o.out) throw UsageError{"convert needs IN and OUT"};
  if (isRender && !o.out) throw UsageError{"render needs -o OUT.png", usage};
  if (o.checkpoint && !o.out) throw UsageError{"--checkpoint needs -o OUT.lis1"};
  if (o.resume && !o.checkpoint) throw UsageError{"--resume needs -o OUT.lis1 and --checkpoint K"};
  try {
    // convert takes no step and no --threads: ZENTROVA_THREADS is not its to refuse.
    if (t.threads)
      o.threads = parseThreadCount(*t.threads, "--threads");
    else if (!isConvert && !isRdf)
      o.threads = defaultStepThreads();
  } catch (const std::invalid_argument& e) {
    throw UsageError{e.what(), usage};
  }
  return o;
}

}  // namespace zentrova
