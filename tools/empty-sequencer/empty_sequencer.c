/* An ALSA sequencer with no other client, for programs that will not start without one where
 * the machine has no sequencer device (containers, CI machines). Preloaded into one program
 * (LD_PRELOAD), it answers the sequencer calls that reach the device: opening always works, the
 * program's own ports are made, nothing else is ever listed and no event ever arrives. The
 * calls that only fill or read the library's own records stay the real library's. */
#include <errno.h>
#include <stddef.h>
#include <poll.h>
#include <string.h>
#include <unistd.h>

typedef struct snd_seq snd_seq_t;

enum { OwnClient = 128, NoMore = -ENOENT };

static int quietPipe[2] = {-1, -1};
static int nextPort = 0;
static char handle;

int snd_seq_open(snd_seq_t** seq, const char* name, int streams, int mode) {
  (void)name, (void)streams, (void)mode;
  if (quietPipe[0] < 0 && pipe(quietPipe) != 0) {
    return -errno;
  }
  *seq = (snd_seq_t*)&handle;
  return 0;
}

int snd_seq_close(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_client_id(snd_seq_t* seq) { (void)seq; return OwnClient; }
int snd_seq_set_client_name(snd_seq_t* seq, const char* name) { (void)seq, (void)name; return 0; }

int snd_seq_create_simple_port(snd_seq_t* seq, const char* name, unsigned caps, unsigned type) {
  (void)seq, (void)name, (void)caps, (void)type;
  return nextPort++;
}
int snd_seq_delete_simple_port(snd_seq_t* seq, int port) { (void)seq, (void)port; return 0; }

/* One descriptor that never becomes readable: a program's input thread waits on it for ever. */
int snd_seq_poll_descriptors_count(snd_seq_t* seq, short events) {
  (void)seq, (void)events;
  return 1;
}
int snd_seq_poll_descriptors(snd_seq_t* seq, struct pollfd* fds, unsigned space, short events) {
  (void)seq;
  if (space < 1) {
    return 0;
  }
  fds[0].fd = quietPipe[0];
  fds[0].events = events;
  fds[0].revents = 0;
  return 1;
}

int snd_seq_event_input(snd_seq_t* seq, void** event) {
  (void)seq;
  *event = NULL;
  return -EAGAIN;
}
int snd_seq_event_input_pending(snd_seq_t* seq, int fetch) { (void)seq, (void)fetch; return 0; }
int snd_seq_event_output(snd_seq_t* seq, void* event) { (void)seq, (void)event; return 0; }
int snd_seq_event_output_direct(snd_seq_t* seq, void* event) { (void)seq, (void)event; return 0; }
int snd_seq_drain_output(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_drop_output(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_drop_input(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_remove_events(snd_seq_t* seq, void* what) { (void)seq, (void)what; return 0; }

int snd_seq_alloc_queue(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_free_queue(snd_seq_t* seq, int queue) { (void)seq, (void)queue; return 0; }
int snd_seq_control_queue(snd_seq_t* seq, int queue, int type, int value, void* event) {
  (void)seq, (void)queue, (void)type, (void)value, (void)event;
  return 0;
}
int snd_seq_set_queue_tempo(snd_seq_t* seq, int queue, void* tempo) {
  (void)seq, (void)queue, (void)tempo;
  return 0;
}
int snd_seq_set_queue_timer(snd_seq_t* seq, int queue, void* timer) {
  (void)seq, (void)queue, (void)timer;
  return 0;
}
/* The queue stands still at its start, at the tempo and skew it was given or the usual ones.
 * The records are the sequencer's own (snd_seq_queue_tempo and snd_seq_queue_status of the
 * kernel's interface), which the library hands over as they are. */
struct QueueTempo {
  int queue;
  unsigned tempo;
  int ppq;
  unsigned skewValue;
  unsigned skewBase;
  char reserved[24];
};
enum { MicrosecondsPerBeat = 500000, TicksPerBeat = 96, UnitSkew = 0x10000 };

/* The real library's record sizes. */
size_t snd_seq_queue_status_sizeof(void);
size_t snd_seq_port_info_sizeof(void);

int snd_seq_get_queue_tempo(snd_seq_t* seq, int queue, void* tempo) {
  (void)seq;
  struct QueueTempo* record = tempo;
  memset(record, 0, sizeof(*record));
  record->queue = queue;
  record->tempo = MicrosecondsPerBeat;
  record->ppq = TicksPerBeat;
  record->skewValue = UnitSkew;
  record->skewBase = UnitSkew;
  return 0;
}
int snd_seq_get_queue_status(snd_seq_t* seq, int queue, void* status) {
  (void)seq;
  memset(status, 0, snd_seq_queue_status_sizeof());
  *(int*)status = queue;
  return 0;
}

/* Nobody else is there, and the program's own ports tell nothing. */
int snd_seq_query_next_client(snd_seq_t* seq, void* info) { (void)seq, (void)info; return NoMore; }
int snd_seq_query_next_port(snd_seq_t* seq, void* info) { (void)seq, (void)info; return NoMore; }
int snd_seq_query_port_subscribers(snd_seq_t* seq, void* subs) {
  (void)seq, (void)subs;
  return NoMore;
}
int snd_seq_get_any_client_info(snd_seq_t* seq, int client, void* info) {
  (void)seq, (void)client, (void)info;
  return NoMore;
}
int snd_seq_get_any_port_info(snd_seq_t* seq, int client, int port, void* info) {
  (void)seq, (void)client, (void)port, (void)info;
  return NoMore;
}
/* The program's own port: a record with nothing set. */
int snd_seq_get_port_info(snd_seq_t* seq, int port, void* info) {
  (void)seq, (void)port;
  memset(info, 0, snd_seq_port_info_sizeof());
  return 0;
}
int snd_seq_set_port_info(snd_seq_t* seq, int port, void* info) {
  (void)seq, (void)port, (void)info;
  return 0;
}
int snd_seq_subscribe_port(snd_seq_t* seq, void* subscription) {
  (void)seq, (void)subscription;
  return 0;
}
int snd_seq_unsubscribe_port(snd_seq_t* seq, void* subscription) {
  (void)seq, (void)subscription;
  return 0;
}
