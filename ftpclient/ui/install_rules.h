// The network install without a window: the remote name the Parameters dialog proposes for a
// local archive, the checks of its fields, the instructions it shows, and the command line with
// which the terminal is started on "install.wcf" to log in to the host and unpack the archive.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The terminal's configuration document and the install program on the host.
constexpr const char* kInstallDocument = "install.wcf";
constexpr const char* kHostInstallProgram = "/tmp/usr/kavern95/install/install";
// Each field of the Parameters dialog takes at most this many characters.
constexpr std::size_t kInstallFieldLimit = 128;

// The remote name proposed for a local file (base name, extension with its dot, and both
// together) from the remote name shown: only when that holds a '/'; a trailing ".Z" is dropped,
// the folder kept, and the file name becomes the base name with ".tar.Z" for an extension that
// contains "taz" (any case), else the local name; the result in lower case. Without a '/' the
// remote name is returned as it is.
std::string ProposeRemoteName(const std::string& remote, const std::string& base, const std::string& extension,
                              const std::string& fullName);

// The default remote name of an archive found in the program's folder: "/tmp/" and its name.
std::string DefaultRemoteName(const std::string& archiveName);

// Whether the remote name is a tar archive (contains ".tar"), and a compressed one ("tar.Z").
bool IsTarArchive(const std::string& remote);
bool IsCompressedTar(const std::string& remote);
// The remote name up to its first ".Z".
std::string UncompressedName(const std::string& remote);

// The steps the user is told: "- Login as USER to UNIX\n", the uncompress step for a compressed
// archive, "- Expand the archive\n- Start the installation".
std::string InstallInstructions(const std::string& user, const std::string& remote);
// The three host commands the user types when the terminal cannot be started, one a line.
std::string ManualHostCommands(const std::string& remote);

// A value that cannot be put into the terminal's command line: one with a double quote or a
// control character.
bool InstallValueRefused(const std::string& value);

// The terminal's command line: its program path (quoted when it holds a blank), " install.wcf ",
// " /c ", the host, user and password after "/ip:", "/user:" and "/pw:" (each quoted when it holds
// a blank), and the program that unpacks the archive: "tar -xvf NAME" for an archive that is not
// compressed, "uncompress N;tar -xvf N" for a compressed one that is not the default name, and
// nothing for the default compressed archive (the document's own program does it).
std::string InstallCommandLine(const std::string& program, const std::string& host, const std::string& user,
                               const std::string& password, const std::string& remote,
                               const std::string& defaultRemote);

// The files found beside the archive, as the start of an install logs them: the lines of the
// version file's text (a line end being LF, CR LF or CR), and the readme read line by line, each
// line ending at its line end, a NUL or 160 characters (the rest starts the next line).
std::vector<std::string> TextLines(const std::string& text);
std::vector<std::string> ReadmeLogLines(std::FILE* file);
