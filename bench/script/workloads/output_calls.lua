-- bench n: 100000
-- Hands n texts to the host, one call each (print writes and flushes a line).
n = tonumber(os.getenv("BENCH_N")) or 100000
local i = 0
while i < n do
  print("line " .. i)
  i = i + 1
end
