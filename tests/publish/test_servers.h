#pragma once

// Real servers for the publish tests, started on 127.0.0.1 on free ports with throwaway keys in
// a temporary folder: OpenSSH's sshd in the foreground with a config of its own, and vsftpd with
// a local user made for the test. Each is ended by its process id when the object goes.

#include <netinet/in.h>
#include <pwd.h>
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

namespace vendigo::testing {

namespace fs = std::filesystem;

inline int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

// Starts program with arguments and exactly the environment given; its output goes to the files
// out and err. Returns the process id.
inline pid_t Spawn(const std::vector<std::string> &arguments,
                   const std::map<std::string, std::string> &environment, const fs::path &out,
                   const fs::path &err) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  std::vector<std::string> pairs;
  for (const auto &[name, value] : environment) pairs.push_back(name + "=" + value);
  std::vector<char *> argv, envp;
  for (const std::string &argument : arguments)
    argv.push_back(const_cast<char *>(argument.c_str()));
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

inline std::string FileText(const fs::path &file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The processes below pid, children first found, read from /proc.
inline std::vector<pid_t> Descendants(pid_t pid) {
  std::vector<pid_t> found{pid}, below;
  for (std::size_t i = 0; i < found.size(); ++i) {
    for (const fs::directory_entry &entry : fs::directory_iterator("/proc")) {
      const std::string name = entry.path().filename();
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      const std::string stat = FileText(entry.path() / "stat");
      const std::size_t close = stat.rfind(')');
      if (close == std::string::npos) continue;
      int parent = 0;
      char state = 0;
      std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent);
      if (parent == found[i]) {
        found.push_back(std::stoi(name));
        below.push_back(std::stoi(name));
      }
    }
  }
  return below;
}

// Waits until the port takes connections, at most five seconds.
inline bool WaitForPort(int port) {
  for (int i = 0; i < 500; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool up = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    if (up) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

inline int Run(const std::string &command) {
  return std::system(command.c_str());
}

// A server process of the test, ended by its id when the object goes.
class ServerProcess {
 public:
  ~ServerProcess() { Stop(); }
  void Start(const std::vector<std::string> &arguments, const fs::path &log) {
    pid_ = Spawn(arguments, {{"PATH", "/usr/sbin:/usr/bin:/bin"}}, log, log);
  }
  void Stop() {
    if (pid_ <= 0) return;
    for (const pid_t child : Descendants(pid_)) ::kill(child, SIGKILL);
    ::kill(pid_, SIGTERM);
    WaitFor(pid_);
    pid_ = 0;
  }
  // Signals every process that serves a connection (the listener's descendants).
  void SignalConnections(int signal) const {
    for (const pid_t child : Descendants(pid_)) ::kill(child, signal);
  }

 private:
  pid_t pid_ = 0;
};

// sshd with its own host key, taking the client key of home/.ssh/id_ed25519 for the user who
// runs the test.
class SshServer {
 public:
  SshServer(const fs::path &folder, const fs::path &home) : folder_(folder), port_(FreePort()) {
    fs::create_directories(home / ".ssh");
    fs::permissions(home / ".ssh", fs::perms::owner_all);
    Run("ssh-keygen -q -t ed25519 -N '' -f '" + (home / ".ssh/id_ed25519").string() + "'");
    fs::copy_file(home / ".ssh/id_ed25519.pub", folder / "authorized_keys");
    const fs::path config = folder / "sshd_config";
    std::ofstream(config) << "Port " << port_ << "\nListenAddress 127.0.0.1\nHostKey "
                          << (folder / "host_key").string() << "\nPidFile none\nAuthorizedKeysFile "
                          << (folder / "authorized_keys").string()
                          << "\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                             "UsePAM no\nStrictModes no\nPermitRootLogin yes\n"
                             "Subsystem sftp internal-sftp\n";
    // sshd started as root wants its privilege separation folder.
    if (::geteuid() == 0) ::mkdir("/run/sshd", 0755);
    Restart();
  }
  // A new host key, the same port: the server as set up anew.
  void Restart() {
    process_.Stop();
    fs::remove(folder_ / "host_key");
    fs::remove(folder_ / "host_key.pub");
    Run("ssh-keygen -q -t ed25519 -N '' -f '" + (folder_ / "host_key").string() + "'");
    process_.Start({"/usr/sbin/sshd", "-D", "-e", "-f", (folder_ / "sshd_config").string()},
                   folder_ / "sshd.log");
    WaitForPort(port_);
  }
  // The host key's fingerprint as ssh-keygen -l shows it.
  std::string Fingerprint() const {
    const fs::path out = folder_ / "fingerprint";
    Run("ssh-keygen -l -f '" + (folder_ / "host_key.pub").string() + "' > '" + out.string() + "'");
    const std::string line = FileText(out);
    return line.substr(line.find(' ') + 1, line.find(' ', line.find(' ') + 1) - line.find(' ') - 1);
  }
  int port() const { return port_; }
  ServerProcess &process() { return process_; }

 private:
  fs::path folder_;
  int port_;
  ServerProcess process_;
};

// vsftpd with plain FTP and explicit TLS (a self-signed certificate in ca.pem), logging in the
// local user User(), made for the test with a password and removed again; its name holds the
// test process's id, so tests running at once do not share one.
class FtpServer {
 public:
  static constexpr char kPassword[] = "publish-Test-1";
  static std::string User() { return "vendigoftp" + std::to_string(::getpid()); }

  FtpServer(const fs::path &folder) : folder_(folder), port_(FreePort()) {
    home_ = folder / "ftp-home";
    fs::create_directories(home_);
    fs::create_directories(folder / "empty");
    const std::string user = User();
    Run("useradd -M -s /bin/sh -d '" + home_.string() + "' " + user + " && echo '" + user + ":" +
        kPassword + "' | chpasswd && chown " + user + " '" + home_.string() + "'");
    Run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext "
        "subjectAltName=IP:127.0.0.1 -keyout '" +
        (folder / "key.pem").string() + "' -out '" + (folder / "ca.pem").string() +
        "' 2>/dev/null");
    const fs::path config = folder / "vsftpd.conf";
    std::ofstream(config)
        << "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" << port_
        << "\nanonymous_enable=NO\nlocal_enable=YES\nwrite_enable=YES\n"
           "local_umask=022\npam_service_name=vsftpd\nseccomp_sandbox=NO\n"
           "secure_chroot_dir="
        << (folder / "empty").string()
        << "\nxferlog_enable=NO\nlocal_max_rate=20000000\nssl_enable=YES\nrsa_cert_file="
        << (folder / "ca.pem").string()
        << "\nrsa_private_key_file=" << (folder / "key.pem").string()
        << "\nforce_local_logins_ssl=NO\nforce_local_data_ssl=NO\n"
           "require_ssl_reuse=NO\n";
    process_.Start({"/usr/sbin/vsftpd", config.string()}, folder / "vsftpd.log");
    WaitForPort(port_);
  }
  ~FtpServer() {
    process_.Stop();
    Run("userdel " + User() + " 2>/dev/null");
  }
  // Makes a folder in the user's home that the user owns.
  fs::path MakeFolder(const std::string &name) const {
    fs::create_directories(home_ / name);
    Run("chown " + User() + " '" + (home_ / name).string() + "'");
    return home_ / name;
  }
  int port() const { return port_; }
  fs::path ca() const { return folder_ / "ca.pem"; }
  ServerProcess &process() { return process_; }

 private:
  fs::path folder_;
  fs::path home_;
  int port_;
  ServerProcess process_;
};

inline std::string UserName() {
  const passwd *entry = ::getpwuid(::geteuid());
  return entry ? entry->pw_name : "root";
}

inline bool Installed(const char *program) {
  return ::access(program, X_OK) == 0;
}

}  // namespace vendigo::testing
