// A form over the headless platform for the benchmarks.
#pragma once
#include <memory>

#include "framework/Utils.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/GlyphfallUnit.h"

struct TBenchForm {
  TBenchForm() {
    platform = std::make_unique<THeadlessPlatform>();
    application = std::make_unique<TApplication>(*platform);
    form = std::make_unique<TGlyphfallForm>(*platform);
    RandSeed(42);
  }
  ~TBenchForm() {
    form.reset();
    application.reset();
    platform.reset();
  }
  std::unique_ptr<THeadlessPlatform> platform;
  std::unique_ptr<TApplication> application;
  std::unique_ptr<TGlyphfallForm> form;
};
