#include "SharedBlock_win.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

// An access list granting everything to the current user, SYSTEM and the
// administrators, instead of the null list that grants it to everyone.
class OwnerOnlySecurity {
 public:
  bool build() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return false;
    UniqueHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    user_.resize(size);
    if (!size || !GetTokenInformation(token.get(), TokenUser, user_.data(), size, &size)) return false;
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

bool SharedBlock::create() {
  close();
  auto security = std::make_unique<OwnerOnlySecurity>();
  if (!security->build()) return false;
  // An existing mutex is fine: it is the one a surviving configuration
  // program still holds open.
  mutex_.reset(CreateMutexA(security->attributes(), FALSE, kSettingsMutexName));
  if (!mutex_) return false;
  mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, security->attributes(), PAGE_READWRITE, 0,
                                    DWORD(kSharedBlockSize), kSharedBlockName));
  if (!mapping_) return false;
  return mapView();
}

bool SharedBlock::open() {
  close();
  mutex_.reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSettingsMutexName));
  mapping_.reset(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kSharedBlockName));
  if (!mapping_) return false;
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
  if (!mutex_ || !view_) return false;
  const DWORD wait = WaitForSingleObject(mutex_.get(), INFINITE);
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
