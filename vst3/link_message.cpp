#include "vst3/LinkMessage.h"

#include <cstring>

bool LinkMessage::Send(vst3::IHostApplication* host, vst3::IConnectionPoint* peer, const char* id,
                       const int64_t* number) {
  if (!host || !peer) {
    return false;
  }
  vst3::TUID messageId;
  std::memcpy(messageId, vst3::IMessage_iid.bytes, sizeof(messageId));
  void* made = nullptr;
  if (host->createInstance(messageId, messageId, &made) != vst3::kResultOk || !made) {
    return false;
  }
  auto* message = static_cast<vst3::IMessage*>(made);
  message->setMessageID(id);
  vst3::IAttributeList* attributes = message->getAttributes();
  if (number && attributes) {
    attributes->setInt(NumberAttribute, *number);
  }
  const bool sent = (!number || attributes) && peer->notify(message) == vst3::kResultOk;
  message->release();
  return sent;
}

bool LinkMessage::Is(vst3::IMessage* message, const char* id) {
  const char* messageId = message ? message->getMessageID() : nullptr;
  return messageId && std::strcmp(messageId, id) == 0;
}
