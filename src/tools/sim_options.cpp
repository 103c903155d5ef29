#include "sim_options.h"

#include <CLI/CLI.hpp>
#include <stdexcept>

#include "dynamics/thread_count.h"
#include "state/named_parameters.h"
#include "state/number_text.h"

namespace zentrova {

namespace {
const std::string kUsageText =
    "usage:\n"
    "  zentrova-sim forces IN.lis1 [--taoscope] [--pe-out] [--pes1-out] [--pes2-out] [--threads T]\n"
    "  zentrova-sim run IN.lis1 -n STEPS [-o OUT.lis1 [--checkpoint K]] [--dt DT] [--taoscope] [--cool]\n"
    "               [--blockade] [--pe-out] [--pes1-out] [--pes2-out] [--csv TRAJ.csv] [--xyz TRAJ.xyz]\n"
    "               [--every K] [--start-step N] [--reference] [--threads T] [--summary]\n"
    "  zentrova-sim observe IN.lis1 -n STEPS [--every K] [--start-step N] [--taoscope] [--cool] [--blockade]\n"
    "               [--pe-out] [--pes1-out] [--pes2-out] [--threads T]\n"
    "  forces, run, observe and convert take --set NAME=VALUE (NAME: " +
    parameterNameList() +
    ")\n"
    "  zentrova-sim convert IN OUT [--taoscope] [--start-step N]   (.lis1 and .xyz, by the names' extensions)\n"
    "  zentrova-sim bench [IN.lis1] [-n STEPS] [--threads T]\n"
    "  zentrova-sim render IN.lis1 -o OUT.png [--size WxH] [--taoscope] [--numbers] [--trails STEPS] [--threads T]\n"
    "  zentrova-sim --help | --version\n";
}  // namespace

const char* const kUsage = kUsageText.c_str();

const char* const kRenderUsage =
    "usage: zentrova-sim render IN.lis1 -o OUT.png [--size WxH] [--taoscope] [--numbers] [--trails STEPS]\n"
    "       [--threads T]\n";

namespace {

constexpr int kMinSide = 16, kMaxSide = 8192;

int parseCount(const std::string& text, int least, const char* usage) {
  const int v = parseInt(text);
  if (v < least) throw UsageError{"'" + text + "' is out of range", usage};
  return v;
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
  std::optional<std::string> in, out, csv, xyz, n, every, checkpoint, startStep, dt, threads, size, trails;
  std::vector<std::string> sets;
};

}  // namespace

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
  const bool isForces = c == "forces", isRender = c == "render", runs = isRun || isObserve;
  if (!isRun && !isBench && !isObserve && !isConvert && !isForces && !isRender)
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
  }
  if (runs || isBench) cmd->add_option("-n", t.n);
  if (runs || isConvert) cmd->add_option("--start-step", t.startStep);
  if (isRun || isRender) cmd->add_option("-o", t.out);
  if (isRun) {
    cmd->add_option("--dt", t.dt);
    cmd->add_option("--csv", t.csv);
    cmd->add_option("--xyz", t.xyz);
    cmd->add_option("--checkpoint", t.checkpoint);
    cmd->add_flag("--reference", o.reference);
    cmd->add_flag("--summary", o.summary);
  }
  if (!isBench && !isRender)
    cmd->add_option("--set", t.sets)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  if (!isConvert) cmd->add_option("--threads", t.threads);
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

  o.in = t.in, o.out = t.out, o.csv = t.csv, o.xyz = t.xyz;
  if (t.n) o.steps = parseCount(*t.n, 0, usage);
  if (t.every) o.every = parseCount(*t.every, 1, usage);
  if (t.checkpoint) o.checkpoint = parseCount(*t.checkpoint, 1, usage);
  if (t.startStep) o.startStep = parseCount(*t.startStep, 0, usage);
  if (t.dt) o.dt = parseReal(*t.dt, '.');
  for (const std::string& s : t.sets) o.settings.push_back(parseSetting(s));
  if (t.size) parseSize(*t.size, o);
  if (t.trails) o.trailSteps = parseCount(*t.trails, 0, usage);

  if (!isBench && !o.in) throw UsageError{"no input file", usage};
  if (runs && !o.steps) throw UsageError{c + " needs -n STEPS"};
  if (isConvert && !o.out) throw UsageError{"convert needs IN and OUT"};
  if (isRender && !o.out) throw UsageError{"render needs -o OUT.png", usage};
  if (o.checkpoint && !o.out) throw UsageError{"--checkpoint needs -o OUT.lis1"};
  try {
    // forces and convert take no step: ZENTROVA_THREADS is not theirs to refuse.
    if (t.threads)
      o.threads = parseThreadCount(*t.threads, "--threads");
    else if (!isConvert && c != "forces")
      o.threads = defaultStepThreads();
  } catch (const std::invalid_argument& e) {
    throw UsageError{e.what(), usage};
  }
  return o;
}

}  // namespace zentrova
