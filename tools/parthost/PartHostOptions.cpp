#include "PartHostOptions.h"

#include <stdexcept>


const char* PartHostOptions::Usage()
{
    return "usage: parthost --seed FILE.json --plugin LIB.so --out DIR [--docalc BITS] [--form]\n"
           "                [--form-layout] [--csv] [--edit [--interactive]] [--script FILE.json]\n"
           "  --form-layout   write each form's layout beside its PDF (NAME.layout.json)\n"
           "  --interactive   with --edit: open the table dialog and leave it to the person;\n"
           "                  OK stores the part as a script's OK does; its message boxes,\n"
           "                  questions, help and file chooser are shown to the person\n";
}

bool PartHostOptions::Parse(const std::vector<std::string>& args, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (arg == "--seed") {
            if (!value(seed))
                return false;
        } else if (arg == "--plugin") {
            if (!value(plugin))
                return false;
        } else if (arg == "--out") {
            if (!value(out))
                return false;
        } else if (arg == "--script") {
            if (!value(script))
                return false;
        } else if (arg == "--docalc") {
            std::string bits;
            if (!value(bits))
                return false;
            const int base = bits.rfind("0x", 0) == 0 || bits.rfind("0X", 0) == 0 ? 16 : 10;
            try {
                std::size_t used = 0;
                const unsigned long number = std::stoul(bits, &used, base);
                if (used != bits.size() || number > 0xFFFFFFFFul)
                    throw std::invalid_argument(bits);
                docalc = static_cast<std::uint32_t>(number);
            } catch (const std::exception&) {
                error = "--docalc takes flag bits such as 0x12 or 3";
                return false;
            }
        } else if (arg == "--form") {
            form = true;
        } else if (arg == "--csv") {
            csv = true;
        } else if (arg == "--edit") {
            edit = true;
        } else if (arg == "--interactive") {
            interactive = true;
        } else if (arg == "--form-layout") {
            formLayout = true;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (seed.empty() || plugin.empty() || out.empty()) {
        error = "--seed, --plugin and --out are required";
        return false;
    }
    if (interactive && (!edit || !script.empty())) {
        error = "--interactive goes with --edit and without --script";
        return false;
    }
    return true;
}
