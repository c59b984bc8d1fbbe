#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace quib::test {

// A small tmpfs mounted at folder, holding the file `name` with `content`, then filled to the
// last page: the next file written there fails half way. Unmounted with the object. Mounting
// needs privileges; without them mounted() is false and the caller skips.
class FullFilesystem {
public:
    FullFilesystem(const std::string& folder, const std::string& name, const std::string& content)
        : m_folder(folder) {
        ::mkdir(folder.c_str(), 0755);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
            return;
        m_mounted = true;
        const int old = ::open((folder + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (old >= 0) {
            (void)!::write(old, content.data(), content.size());
            ::close(old);
        }
        const int filler = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string page(4096, 'f');
        while (filler >= 0 && ::write(filler, page.data(), page.size()) > 0) {
        }
        while (filler >= 0 && ::write(filler, page.data(), 1) > 0) {
        }
        if (filler >= 0)
            ::close(filler);
    }
    ~FullFilesystem() {
        if (m_mounted)
            ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    FullFilesystem(const FullFilesystem&) = delete;
    FullFilesystem& operator=(const FullFilesystem&) = delete;

    bool mounted() const { return m_mounted; }

private:
    std::string m_folder;
    bool m_mounted = false;
};

}  // namespace quib::test
