#include "modules/curl_ftp.h"

#include <curl/curl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "protocol/operator_port.h"

namespace tarnwick {
namespace {

// What the worker thread hands back to the waiting UI thread.
struct Transfer {
    std::string url;
    long connectTimeoutMs = 0;
    long checkTimeoutMs = 0;
    std::string listing;
    bool tooLong = false;
    CURLcode code = CURLE_OK;
    char error[CURL_ERROR_SIZE] = {};
    bool loggedIn = false;  // the server took the login (curl asked its directory)
};

// The step a failed transfer stopped at.
FtpStep FailedStep(const Transfer& t) {
    if (t.loggedIn || t.tooLong) return FtpStep::List;
    if (t.code == CURLE_LOGIN_DENIED || t.code == CURLE_REMOTE_ACCESS_DENIED) return FtpStep::Login;
    return FtpStep::Connect;
}

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->listing.size() + bytes > kFtpListingMaxBytes) {
        transfer->tooLong = true;
        return 0;  // curl ends the transfer with a write error
    }
    transfer->listing.append(data, bytes);
    return bytes;
}

void Run(Transfer& t) {
    CURL* curl = curl_easy_init();
    if (!curl) {
        t.code = CURLE_FAILED_INIT;
        return;
    }
    curl_easy_setopt(curl, CURLOPT_URL, t.url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERNAME, "Anonymous");
    curl_easy_setopt(curl, CURLOPT_PASSWORD, "");
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);   // NLST
    curl_easy_setopt(curl, CURLOPT_FTPPORT, nullptr);  // passive
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, t.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, t.checkTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_FTP_RESPONSE_TIMEOUT, (t.checkTimeoutMs + 999) / 1000);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // A name lookup that outlives the connect time-out is left to end on its
    // own instead of being waited for (two silent name servers take 20 s).
    curl_easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, t.error);
    t.code = curl_easy_perform(curl);
    const char* entryPath = nullptr;
    t.loggedIn = curl_easy_getinfo(curl, CURLINFO_FTP_ENTRY_PATH, &entryPath) == CURLE_OK &&
                 entryPath != nullptr;
    // The clean-up sends QUIT and would wait for its answer as long as for
    // any answer; a server that keeps silent would add that to the check.
    // With the reading side shut, QUIT goes out and the connection closes.
    curl_socket_t control = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(curl, CURLINFO_ACTIVESOCKET, &control) == CURLE_OK &&
        control != CURL_SOCKET_BAD)
        ::shutdown(control, SHUT_RD);
    curl_easy_cleanup(curl);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> names;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) names.push_back(line);
    }
    return names;
}

}  // namespace

bool IsPlainFtpHost(const std::string& host) {
    if (host.empty()) return false;
    const size_t colon = host.find(':');
    const std::string name = host.substr(0, colon);
    if (name.empty() || name.front() == '-' || name.front() == '.') return false;
    for (unsigned char c : name)
        if (!std::isalnum(c) && c != '.' && c != '-') return false;
    if (colon == std::string::npos) return true;
    const std::string port = host.substr(colon + 1);
    if (port.empty() || port.size() > 5) return false;
    for (unsigned char c : port)
        if (!std::isdigit(c)) return false;
    return std::stoi(port) > 0 && std::stoi(port) <= 65535;
}

CurlFtp::CurlFtp(OperatorPort& op, int connectTimeoutMs, int checkTimeoutMs)
    : op_(op), connectTimeoutMs_(connectTimeoutMs), checkTimeoutMs_(checkTimeoutMs) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::vector<std::string> CurlFtp::ListNames(const std::string& host) {
    if (!IsPlainFtpHost(host)) throw FtpError("not an FTP server address: " + host);
    auto transfer = std::make_shared<Transfer>();
    transfer->url = "ftp://" + host + "/";
    transfer->connectTimeoutMs = connectTimeoutMs_;
    transfer->checkTimeoutMs = checkTimeoutMs_;
    const int done = ::eventfd(0, EFD_CLOEXEC);
    if (done < 0) throw FtpError("eventfd failed");
    std::thread worker([transfer, done] {
        Run(*transfer);
        uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = ::write(done, &one, sizeof one);
    });
    // curl ends the transfer within the check's time-out; the window is
    // served meanwhile.
    while (!op_.WaitReadable(done, checkTimeoutMs_)) {
    }
    worker.join();
    ::close(done);
    if (transfer->tooLong) throw FtpError("name listing too long", FtpStep::List);
    if (transfer->code != CURLE_OK) {
        const std::string detail =
            transfer->error[0] ? transfer->error : curl_easy_strerror(transfer->code);
        throw FtpError(detail, FailedStep(*transfer));
    }
    return SplitLines(transfer->listing);
}

}  // namespace tarnwick
