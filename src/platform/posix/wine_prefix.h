// The Wine prefix behind the Linux adapters: where it is, its registry, its environment.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/registry.h"
#include "platform/registry_tree.h"

namespace quenlor::platform {

// $HOME, else the password database's home folder, else "/".
std::string HomeFolder();

// $WINEPREFIX, or HomeFolder()/.wine when it is not set (the rule Wine itself follows).
std::string DefaultWinePrefix();

// The hives of a source (a prefix folder or a file; empty = the default prefix). The last
// registry loaded is kept while its files are unchanged, so later readers cost nothing.
std::shared_ptr<const RegistryHives> LoadSourceHives(const RegistrySource& source);

// The prefix whose drives a source's paths refer to: the source itself when it is a folder,
// otherwise the default prefix.
std::string DrivePrefix(const RegistrySource& source);

// Environment variables as a program in the prefix sees them, by upper-cased name: Wine's
// built-in ones (SystemRoot, windir, ProgramFiles, ...), then the machine's and the user's
// Environment keys, REG_EXPAND_SZ values expanded in that order.
std::map<std::string, std::string> PrefixEnvironment(const RegistryHives& hives);

}  // namespace quenlor::platform
