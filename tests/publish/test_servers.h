#pragma once

// Real servers for the publish tests, started on 127.0.0.1 on free ports with throwaway keys in
// a temporary folder: OpenSSH's sshd in the foreground with a config of its own, or vsftpd (FTP
// and explicit TLS with a self-signed certificate) logging in a local user made for the test.
// Servers are ended by their process ids.

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace vendigo::testing {

namespace fs = std::filesystem;

inline sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

inline int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr *>(&address), length);
  ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

// Waits until the port takes connections, at most five seconds.
inline void WaitForPort(int port) {
  for (int i = 0; i < 500; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool up =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    if (up) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Starts the program with exactly the environment given, its output into the files out and err.
inline pid_t Spawn(const std::vector<std::string> &arguments,
                   const std::map<std::string, std::string> &environment, const fs::path &out,
                   const fs::path &err) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  std::vector<std::string> pairs;
  for (const auto &[name, value] : environment) pairs.push_back(name + "=" + value);
  std::vector<char *> argv, envp;
  for (const std::string &text : arguments) argv.push_back(const_cast<char *>(text.c_str()));
  for (const std::string &pair : pairs) envp.push_back(const_cast<char *>(pair.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  std::freopen("/dev/null", "r", stdin);
  std::freopen(out.c_str(), "w", stdout);
  std::freopen(err.c_str(), "w", stderr);
  ::execve(argv[0], argv.data(), envp.data());
  ::_exit(127);
}

inline int WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The processes below pid, read from /proc.
inline std::vector<pid_t> Descendants(pid_t pid) {
  std::vector<pid_t> found{pid};
  for (std::size_t i = 0; i < found.size(); ++i) {
    for (const fs::directory_entry &entry : fs::directory_iterator("/proc")) {
      const std::string stat = TempFolder::ReadBytes(entry.path() / "stat");
      int parent = 0;
      if (stat.rfind(')') != std::string::npos &&
          std::sscanf(stat.c_str() + stat.rfind(')') + 1, " %*c %d", &parent) == 1 &&
          parent == found[i]) {
        found.push_back(std::stoi(entry.path().filename()));
      }
    }
  }
  return {found.begin() + 1, found.end()};
}

inline void Run(const std::string &command) {
  (void)!std::system(command.c_str());
}

// One server, sshd ("sftp") or vsftpd ("ftp", "ftps"), in folder.
class TestServer {
 public:
  static constexpr char kPassword[] = "publish-Test-1";
  // vsftpd's user; the test process's id in its name keeps tests running at once apart.
  static std::string FtpUser() { return "vendigoftp" + std::to_string(::getpid()); }

  // For sftp, home/.ssh/id_ed25519 is the user's key, the only one the server takes.
  TestServer(const std::string &protocol, const fs::path &folder, const fs::path &home)
      : sftp_(protocol == "sftp"), folder_(folder), port_(FreePort()) {
    const std::string in = folder.string() + "/";
    if (sftp_) {
      fs::create_directories(home / ".ssh");
      fs::permissions(home / ".ssh", fs::perms::owner_all);
      Run("ssh-keygen -q -t ed25519 -N '' -f '" + home.string() + "/.ssh/id_ed25519'");
      fs::copy_file(home / ".ssh/id_ed25519.pub", folder / "authorized_keys");
      std::ofstream(folder / "sshd_config")
          << "Port " << port_ << "\nListenAddress 127.0.0.1\nHostKey " << in
          << "host_key\nPidFile none\nAuthorizedKeysFile " << in
          << "authorized_keys\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
             "UsePAM no\nStrictModes no\nPermitRootLogin yes\nSubsystem sftp internal-sftp\n";
      // sshd started as root wants its privilege separation folder.
      if (::geteuid() == 0) ::mkdir("/run/sshd", 0755);
    } else {
      fs::create_directories(folder / "empty");
      fs::create_directories(folder / "ftp-home");
      Run("useradd -M -s /bin/sh -d '" + in + "ftp-home' " + FtpUser() + " && echo '" + FtpUser() +
          ":" + kPassword + "' | chpasswd && chown " + FtpUser() + " '" + in + "ftp-home'");
      Run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext "
          "subjectAltName=IP:127.0.0.1 -keyout '" +
          in + "key.pem' -out '" + in + "ca.pem' 2>/dev/null");
      // The rate keeps a big page in transit long enough to be caught there.
      std::ofstream(folder / "vsftpd.conf")
          << "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" << port_
          << "\nanonymous_enable=NO\nlocal_enable=YES\nwrite_enable=YES\nlocal_umask=022\n"
             "pam_service_name=vsftpd\nseccomp_sandbox=NO\nxferlog_enable=NO\n"
             "local_max_rate=20000000\nsecure_chroot_dir="
          << in
          << "empty\nssl_enable=YES\n"
             "rsa_cert_file="
          << in << "ca.pem\nrsa_private_key_file=" << in
          << "key.pem\n"
             "force_local_logins_ssl=NO\nforce_local_data_ssl=NO\nrequire_ssl_reuse=NO\n";
    }
    Restart();
  }
  ~TestServer() {
    Stop();
    if (!sftp_) Run("userdel " + FtpUser() + " 2>/dev/null");
  }

  // sshd with a new host key on the same port: the server as set up anew.
  void Restart() {
    Stop();
    const std::string key = (folder_ / "host_key").string();
    if (sftp_) Run("rm -f '" + key + "'*; ssh-keygen -q -t ed25519 -N '' -f '" + key + "'");
    const fs::path log = folder_ / "server.log";
    pid_ = sftp_ ? Spawn({"/usr/sbin/sshd", "-D", "-e", "-f", (folder_ / "sshd_config").string()},
                         {}, log, log)
                 : Spawn({"/usr/sbin/vsftpd", (folder_ / "vsftpd.conf").string()}, {}, log, log);
    WaitForPort(port_);
  }
  void Stop() {
    if (pid_ <= 0) return;
    SignalConnections(SIGKILL);
    ::kill(pid_, SIGTERM);
    WaitFor(pid_);
    pid_ = 0;
  }
  // Signals every process that serves a connection: the listener's descendants.
  void SignalConnections(int signal) const {
    for (const pid_t child : Descendants(pid_)) ::kill(child, signal);
  }
  // The host key's fingerprint as ssh-keygen -l shows it.
  std::string Fingerprint() const {
    std::FILE *out =
        ::popen(("ssh-keygen -l -f '" + folder_.string() + "/host_key.pub'").c_str(), "r");
    char fingerprint[128] = "";
    std::fscanf(out, "%*d %127s", fingerprint);
    ::pclose(out);
    return fingerprint;
  }
  // A folder in the FTP user's home, owned by that user.
  fs::path MakeFtpFolder(const std::string &name) const {
    fs::create_directories(folder_ / "ftp-home" / name);
    Run("chown " + FtpUser() + " '" + (folder_ / "ftp-home" / name).string() + "'");
    return folder_ / "ftp-home" / name;
  }
  int port() const { return port_; }

 private:
  bool sftp_;
  fs::path folder_;
  int port_;
  pid_t pid_ = 0;
};

}  // namespace vendigo::testing
