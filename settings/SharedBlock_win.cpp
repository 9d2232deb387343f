#include "SharedBlock_win.h"

#include <aclapi.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

std::vector<BYTE> tokenInformation(TOKEN_INFORMATION_CLASS kind) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
  UniqueHandle token(rawToken);
  DWORD size = 0;
  GetTokenInformation(token.get(), kind, nullptr, 0, &size);
  std::vector<BYTE> information(size);
  if (!size || !GetTokenInformation(token.get(), kind, information.data(), size, &size)) return {};
  return information;
}

// An access list granting everything to the current user, SYSTEM and the
// administrators, instead of the null list that grants it to everyone.
class OwnerOnlySecurity {
 public:
  bool build() {
    user_ = tokenInformation(TokenUser);
    if (user_.empty()) return false;
    PSID userSid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    DWORD sidSize = sizeof system_;
    if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, system_, &sidSize)) return false;
    sidSize = sizeof admins_;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins_, &sidSize)) return false;

    PSID sids[] = {userSid, system_, admins_};
    DWORD aclSize = sizeof(ACL);
    for (PSID sid : sids) aclSize += sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid);
    acl_.resize(aclSize);
    PACL acl = reinterpret_cast<PACL>(acl_.data());
    if (!InitializeAcl(acl, aclSize, ACL_REVISION)) return false;
    for (PSID sid : sids)
      if (!AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid)) return false;
    if (!InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE))
      return false;
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    // Not inheritable: programs that the monitor launches get no handle.
    attributes_.bInheritHandle = FALSE;
    return true;
  }
  SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

 private:
  std::vector<BYTE> user_;
  alignas(void*) BYTE system_[SECURITY_MAX_SID_SIZE] = {};
  alignas(void*) BYTE admins_[SECURITY_MAX_SID_SIZE] = {};
  std::vector<BYTE> acl_;
  SECURITY_DESCRIPTOR descriptor_ = {};
  SECURITY_ATTRIBUTES attributes_ = {};
};

}  // namespace

bool ownedByUser(HANDLE object) {
  const std::vector<BYTE> user = tokenInformation(TokenUser);
  const std::vector<BYTE> defaultOwner = tokenInformation(TokenOwner);
  if (user.empty() || !object) return false;
  PSID owner = nullptr;
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                      &owner, nullptr, &acl, nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  // A null access list lets every process of the session in, to write the
  // block or to hold the mutex for ever.
  bool own = owner && acl && EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid);
  if (!own && owner && acl && !defaultOwner.empty())
    own = EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(defaultOwner.data())->Owner);
  LocalFree(descriptor);
  return own;
}

UniqueHandle createSettingsMutex(bool& existed) {
  existed = false;
  auto security = std::make_unique<OwnerOnlySecurity>();
  if (!security->build()) return {};
  UniqueHandle mutex(CreateMutexA(security->attributes(), FALSE, kSettingsMutexName));
  if (!mutex) return {};
  existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (existed && !ownedByUser(mutex.get())) return {};
  return mutex;
}

bool SharedBlock::create() {
  close();
  foreign_ = false;
  auto security = std::make_unique<OwnerOnlySecurity>();
  if (!security->build()) return false;
  // An existing mutex of our own is fine: it is the one a surviving
  // configuration program still holds open.
  bool existed = false;
  mutex_ = createSettingsMutex(existed);
  if (!mutex_) {
    foreign_ = existed;
    return false;
  }
  mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, security->attributes(), PAGE_READWRITE, 0,
                                    DWORD(kSharedBlockSize), kSharedBlockName));
  if (!mapping_) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS && !ownedByUser(mapping_.get())) {
    close();
    foreign_ = true;
    return false;
  }
  return mapView();
}

bool SharedBlock::open() {
  close();
  foreign_ = false;
  mutex_.reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE | READ_CONTROL, FALSE, kSettingsMutexName));
  mapping_.reset(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kSharedBlockName));
  if (!mapping_) return false;
  // Made by another account, or open to everyone: not the monitor's block.
  if ((mutex_ && !ownedByUser(mutex_.get())) || !ownedByUser(mapping_.get())) {
    close();
    foreign_ = true;
    return false;
  }
  return mapView();
}

bool SharedBlock::mapView() {
  view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSharedBlockSize));
  if (!view_) mapping_.reset();
  return bool(view_);
}

void SharedBlock::close() {
  view_.reset();
  mapping_.reset();
  mutex_.reset();
}

bool SharedBlock::lock() {
  timedOut_ = false;
  if (!mutex_ || !view_) return false;
  const DWORD wait = WaitForSingleObject(mutex_.get(), kSettingsLockTimeoutMs);
  timedOut_ = wait == WAIT_TIMEOUT;
  // An abandoned mutex is ours now: its holder died. Taking it (and
  // releasing it after the copy) keeps the block usable; refusing would
  // leave it locked for good.
  return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

bool SharedBlock::copyFromBlock(SettingsImage& target) {
  if (!lock()) return false;
  std::memcpy(&target, view_.get(), kSharedBlockSize);
  ReleaseMutex(mutex_.get());
  return true;
}

bool SharedBlock::copyToBlock(const SettingsImage& source) {
  if (!lock()) return false;
  std::memcpy(view_.get(), &source, kSharedBlockSize);
  ReleaseMutex(mutex_.get());
  return true;
}
