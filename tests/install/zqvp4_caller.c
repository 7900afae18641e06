/* An outside caller of the installed library, written in C: it sees only the
 * installed header and links only the installed library. */
#include <stdio.h>
#include <string.h>

#include <zqvp4.h>

static int failures = 0;
#define CHECK(cond)                                 \
  do {                                              \
    if (!(cond)) {                                  \
      fprintf(stderr, "failed: %s\n", #cond);       \
      ++failures;                                   \
    }                                               \
  } while (0)

static char lastMessage[64];

static int32_t recordReport(int32_t status, const char* funcName, const char* message, const char* file,
                            int32_t line) {
  (void)status, (void)funcName, (void)file, (void)line;
  strncpy(lastMessage, message ? message : "", sizeof lastMessage - 1);
  return 0;
}

int main(void) {
  const ZqvLibVersion* version = zqvGetLibVersion();
  float samples[4] = {1, 2, 3, 4};
  int16_t lin[3] = {0, 1000, -1000};
  uint8_t codes[3] = {0, 0, 0};
  ZqvCplxW a = {7, 0}, b = {2, 0}, q;
  ZqvCplxS z[1] = {{3, 4}};
  float mag = 0, phase = 0;

  CHECK(version != NULL && version->major == 3);
  zqvsbMpy1(2.0f, samples, 4);
  CHECK(samples[3] == 8.0f);
  zqvwbLinToALaw(lin, codes, 3);
  CHECK(codes[0] == 0x80 && codes[1] == 0xAF && codes[2] == 0x2F);
  q = zqvvDiv(a, b);
  CHECK(q.re == 3 && q.im == 0);
  zqvcbCartToPolar(z, &mag, &phase, 1);
  CHECK(mag == 5.0f);

  /* Errors come back through the caller's report routine and the status. */
  zqvRedirectError(recordReport);
  zqvSetErrMode(ZQV_ErrorModeParent);
  zqvsbMpy1(2.0f, NULL, 4);
  CHECK(zqvGetErrStatus() == ZQV_BAD_ARGUMENT);
  CHECK(strcmp(lastMessage, "dst==0") == 0);
  CHECK(strcmp(zqvErrorStr(ZQV_BAD_ARGUMENT), "Bad argument") == 0);
  zqvSetErrStatus(ZQV_NO_ERROR);

  if (failures == 0) printf("zqvp4 caller: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
