// Every routine of the digital filters is exported by the shared library
// under its own name: the FIR, IIR and LMS families at both levels.
#include <dlfcn.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// FIR, one state, low level and 16-bit: 110 routines.
const std::vector<std::string> kFir = {
    "zqvsFirInit", "zqvsFirInitMr", "zqvsFir", "zqvsbFir", "zqvcFirInit", "zqvcFirInitMr", "zqvcFir",
    "zqvcbFir", "zqvscFirInit", "zqvscFirInitMr", "zqvscFir", "zqvscbFir", "zqvcsFirInit", "zqvcsFirInitMr",
    "zqvcsFir", "zqvcsbFir", "zqvdFirInit", "zqvdFirInitMr", "zqvdFir", "zqvdbFir", "zqvzFirInit",
    "zqvzFirInitMr", "zqvzFir", "zqvzbFir", "zqvdzFirInit", "zqvdzFirInitMr", "zqvdzFir", "zqvdzbFir",
    "zqvzdFirInit", "zqvzdFirInitMr", "zqvzdFir", "zqvzdbFir", "zqvsFirSetTaps", "zqvsFirGetTaps",
    "zqvsFirSetDlyl", "zqvsFirGetDlyl", "zqvcFirSetTaps", "zqvcFirGetTaps", "zqvcFirSetDlyl",
    "zqvcFirGetDlyl", "zqvdFirSetTaps", "zqvdFirGetTaps", "zqvdFirSetDlyl", "zqvdFirGetDlyl",
    "zqvzFirSetTaps", "zqvzFirGetTaps", "zqvzFirSetDlyl", "zqvzFirGetDlyl", "zqvFirFree", "zqvwFirInit",
    "zqvwFirInitMr", "zqvwFirSetTaps", "zqvwFirGetTaps", "zqvwFirSetDlyl", "zqvwFirGetDlyl", "zqvwFir",
    "zqvwbFir", "zqvsFirlInit", "zqvsFirlInitMr", "zqvsFirlInitDlyl", "zqvsFirlSetTaps", "zqvsFirlGetTaps",
    "zqvsFirlSetDlyl", "zqvsFirlGetDlyl", "zqvcFirlInit", "zqvcFirlInitMr", "zqvcFirlInitDlyl",
    "zqvcFirlSetTaps", "zqvcFirlGetTaps", "zqvcFirlSetDlyl", "zqvcFirlGetDlyl", "zqvdFirlInit",
    "zqvdFirlInitMr", "zqvdFirlInitDlyl", "zqvdFirlSetTaps", "zqvdFirlGetTaps", "zqvdFirlSetDlyl",
    "zqvdFirlGetDlyl", "zqvzFirlInit", "zqvzFirlInitMr", "zqvzFirlInitDlyl", "zqvzFirlSetTaps",
    "zqvzFirlGetTaps", "zqvzFirlSetDlyl", "zqvzFirlGetDlyl", "zqvwFirlInit", "zqvwFirlInitMr",
    "zqvwFirlInitDlyl", "zqvwFirlSetTaps", "zqvwFirlGetTaps", "zqvwFirlSetDlyl", "zqvwFirlGetDlyl",
    "zqvsFirl", "zqvsbFirl", "zqvcFirl", "zqvcbFirl", "zqvscFirl", "zqvscbFirl", "zqvcsFirl", "zqvcsbFirl",
    "zqvdFirl", "zqvdbFirl", "zqvzFirl", "zqvzbFirl", "zqvdzFirl", "zqvdzbFirl", "zqvzdFirl", "zqvzdbFirl",
    "zqvwFirl", "zqvwbFirl",
};

// IIR, both levels and 16-bit: 70 routines.
const std::vector<std::string> kIir = {
    "zqvsIirlInit", "zqvdIirlInit", "zqvcIirlInit", "zqvzIirlInit", "zqvsIirlInitBq", "zqvdIirlInitBq",
    "zqvcIirlInitBq", "zqvzIirlInitBq", "zqvsIirlInitDlyl", "zqvdIirlInitDlyl", "zqvcIirlInitDlyl",
    "zqvzIirlInitDlyl", "zqvsIirl", "zqvcIirl", "zqvdIirl", "zqvzIirl", "zqvscIirl", "zqvcsIirl", "zqvdzIirl",
    "zqvzdIirl", "zqvsbIirl", "zqvcbIirl", "zqvdbIirl", "zqvzbIirl", "zqvscbIirl", "zqvcsbIirl", "zqvdzbIirl",
    "zqvzdbIirl", "zqvsIirInit", "zqvcIirInit", "zqvdIirInit", "zqvzIirInit", "zqvscIirInit", "zqvcsIirInit",
    "zqvdzIirInit", "zqvzdIirInit", "zqvsIirInitBq", "zqvcIirInitBq", "zqvdIirInitBq", "zqvzIirInitBq",
    "zqvscIirInitBq", "zqvcsIirInitBq", "zqvdzIirInitBq", "zqvzdIirInitBq", "zqvIirFree", "zqvsIir",
    "zqvcIir", "zqvdIir", "zqvzIir", "zqvscIir", "zqvcsIir", "zqvdzIir", "zqvzdIir", "zqvsbIir", "zqvcbIir",
    "zqvdbIir", "zqvzbIir", "zqvscbIir", "zqvcsbIir", "zqvdzbIir", "zqvzdbIir", "zqvwIirlInit",
    "zqvwIirlInitBq", "zqvwIirlInitDlyl", "zqvwIirl", "zqvwbIirl", "zqvwIirInit", "zqvwIirInitBq", "zqvwIir",
    "zqvwbIir",
};

// LMS, both levels and 16-bit: 134 routines.
const std::vector<std::string> kLms = {
    "zqvsLmslInit", "zqvdLmslInit", "zqvcLmslInit", "zqvzLmslInit", "zqvsLmslInitMr", "zqvdLmslInitMr",
    "zqvcLmslInitMr", "zqvzLmslInitMr", "zqvsLmslInitDlyl", "zqvdLmslInitDlyl", "zqvcLmslInitDlyl",
    "zqvzLmslInitDlyl", "zqvsLmslGetStep", "zqvsLmslGetLeak", "zqvsLmslSetStep", "zqvsLmslSetLeak",
    "zqvsLmslGetTaps", "zqvdLmslGetTaps", "zqvcLmslGetTaps", "zqvzLmslGetTaps", "zqvsLmslSetTaps",
    "zqvdLmslSetTaps", "zqvcLmslSetTaps", "zqvzLmslSetTaps", "zqvsLmslGetDlyl", "zqvdLmslGetDlyl",
    "zqvcLmslGetDlyl", "zqvzLmslGetDlyl", "zqvsLmslSetDlyl", "zqvdLmslSetDlyl", "zqvcLmslSetDlyl",
    "zqvzLmslSetDlyl", "zqvsLmsl", "zqvdLmsl", "zqvcLmsl", "zqvzLmsl", "zqvscLmsl", "zqvdzLmsl", "zqvsbLmsl",
    "zqvdbLmsl", "zqvcbLmsl", "zqvzbLmsl", "zqvscbLmsl", "zqvdzbLmsl", "zqvsLmslNa", "zqvdLmslNa",
    "zqvcLmslNa", "zqvzLmslNa", "zqvscLmslNa", "zqvcsLmslNa", "zqvdzLmslNa", "zqvzdLmslNa", "zqvsbLmslNa",
    "zqvdbLmslNa", "zqvcbLmslNa", "zqvzbLmslNa", "zqvscbLmslNa", "zqvcsbLmslNa", "zqvdzbLmslNa",
    "zqvzdbLmslNa", "zqvwLmslInit", "zqvwLmslInitDlyl", "zqvwLmslGetStep", "zqvwLmslSetStep",
    "zqvwLmslGetTaps", "zqvwLmslSetTaps", "zqvwLmslGetDlyl", "zqvwLmslSetDlyl", "zqvwLmsl", "zqvsLmsInit",
    "zqvdLmsInit", "zqvcLmsInit", "zqvzLmsInit", "zqvscLmsInit", "zqvdzLmsInit", "zqvsLmsInitMr",
    "zqvdLmsInitMr", "zqvcLmsInitMr", "zqvzLmsInitMr", "zqvscLmsInitMr", "zqvdzLmsInitMr", "zqvLmsFree",
    "zqvsLms", "zqvdLms", "zqvcLms", "zqvzLms", "zqvscLms", "zqvdzLms", "zqvsbLms", "zqvdbLms", "zqvcbLms",
    "zqvzbLms", "zqvscbLms", "zqvdzbLms", "zqvsLmsDes", "zqvdLmsDes", "zqvcLmsDes", "zqvzLmsDes",
    "zqvscLmsDes", "zqvdzLmsDes", "zqvsbLmsDes", "zqvdbLmsDes", "zqvcbLmsDes", "zqvzbLmsDes", "zqvscbLmsDes",
    "zqvdzbLmsDes", "zqvsLmsGetErrVal", "zqvdLmsGetErrVal", "zqvcLmsGetErrVal", "zqvzLmsGetErrVal",
    "zqvsLmsSetErrVal", "zqvdLmsSetErrVal", "zqvcLmsSetErrVal", "zqvzLmsSetErrVal", "zqvsLmsGetTaps",
    "zqvdLmsGetTaps", "zqvcLmsGetTaps", "zqvzLmsGetTaps", "zqvsLmsSetTaps", "zqvdLmsSetTaps",
    "zqvcLmsSetTaps", "zqvzLmsSetTaps", "zqvsLmsGetDlyl", "zqvdLmsGetDlyl", "zqvcLmsGetDlyl",
    "zqvzLmsGetDlyl", "zqvsLmsSetDlyl", "zqvdLmsSetDlyl", "zqvcLmsSetDlyl", "zqvzLmsSetDlyl",
    "zqvsLmsGetStep", "zqvsLmsGetLeak", "zqvsLmsSetStep", "zqvsLmsSetLeak",
};

TEST(FilterExports, EveryFilterRoutineIsExported) {
  void* library = dlopen(ZQV_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  std::set<std::string> names;
  for (const auto* family : {&kFir, &kIir, &kLms})
    for (const auto& name : *family) {
      EXPECT_TRUE(names.insert(name).second) << name << " listed twice";
      EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
    }
  EXPECT_EQ(kFir.size() + kIir.size() + kLms.size(), 314u);
  dlclose(library);
}

}  // namespace
