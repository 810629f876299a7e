-- bench n: 100000
-- Builds n memo lines with string.format and .., as a memo script building its text does.
n = tonumber(os.getenv("BENCH_N")) or 100000
total = 0
local s
for i = 0, n - 1 do
  s = string.format("%02d:%02d ", i // 60 % 24, i % 60) .. "item " .. i .. " of " .. n .. ";"
  total = total + #s
end
print(total .. " " .. s)
