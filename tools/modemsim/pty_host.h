#pragma once

#include <string>
#include <string_view>

namespace modemsim {

// The modem's end of a pseudo-terminal. The host program opens the slave like a serial port,
// as often as it likes: the simulator keeps a slave descriptor of its own, so the master never
// sees a hang-up in between. Closing the master is what the host sees as the modem unplugged.
class PtyHost {
 public:
  PtyHost() = default;
  ~PtyHost();
  PtyHost(const PtyHost&) = delete;
  PtyHost& operator=(const PtyHost&) = delete;

  // Opens the pair and makes the slave raw. False with `error` set on failure. After close()
  // it opens a new pair, as a device that comes back on the bus gets a new port.
  bool open(std::string& error);
  // Makes `path` a symbolic link to the slave (replacing an older link there).
  bool link(const std::string& path, std::string& error);
  // Unplugs: closes both ends and removes the link. A host that still holds the slave reads
  // end of file or EIO from then on.
  void close();
  bool is_open() const { return master_ >= 0; }

  const std::string& slave_path() const { return slave_path_; }
  int master_fd() const { return master_; }
  // Notified when the host opens or closes the slave; -1 when that cannot be watched.
  int watch_fd() const { return watch_; }

  // Reads what the host opened and closed since the last call. When the last host
  // descriptor closes, drops what it left unread, as a closed serial port would.
  void update_host_count();
  bool host_present() const { return watch_ < 0 || hosts_ > 0; }
  // True when the host has read everything written so far.
  bool host_drained() const;

  // Reads from the master: the byte count, 0 when nothing is there.
  long read(char* buffer, std::size_t capacity);
  // Writes without blocking; what does not fit into the terminal's buffer is lost, as with a
  // serial line whose host does not read. Returns the bytes written.
  std::size_t write(std::string_view bytes);

 private:
  int master_ = -1;
  int slave_ = -1;
  int watch_ = -1;
  int hosts_ = 0;
  std::string slave_path_;
  std::string link_path_;
};

}  // namespace modemsim
